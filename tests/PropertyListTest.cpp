#include <gtest/gtest.h>
#include <plist/plist.h>

#include <QImage>
#include <fstream>

#include "common/AtomicFile.h"
#include "common/PropertyList.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

Value SampleLibrary() {
  Dictionary preset{{"textString", "Brouillon – ドラフト"},
                    {"yOffset", -3},
                    {"textOpacity", 0.9},
                    {"DirtyFlag", false},
                    {"TextCenter", Value::Array{20.0, 20.0}},
                    {"Blob", Value::Data{0, 1, 2, 255}},
                    {"Huge", std::int64_t{1} << 62}};
  return Value(Dictionary{{"Draft", preset}, {"Empty", Dictionary{}}});
}

TEST(PropertyList, LibraryWrittenAndReadBackIsEqual) {
  test::ScratchHome home;
  const auto file = home.path() / "library.plist";
  ASSERT_TRUE(WritePropertyListFile(file, SampleLibrary()));
  const PropertyListResult read = ReadPropertyListFile(file);
  ASSERT_EQ(read.error, PropertyListError::None);
  EXPECT_EQ(*read.value, SampleLibrary());
}

TEST(PropertyList, ReadsTheBinaryForm) {
  const std::string xml = PropertyListXml(SampleLibrary());
  plist_t root = nullptr;
  plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
  char* binary = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &binary, &length);
  const auto parsed = ParsePropertyList(std::string_view(binary, length));
  plist_to_bin_free(binary);
  plist_free(root);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(*parsed, SampleLibrary());
}

TEST(PropertyList, InMemoryImagesAreNeverWritten) {
  auto image = std::make_shared<QImage>(4, 4, QImage::Format_ARGB32);
  Value preset(
      Dictionary{{"Image", Value::Image(image)}, {"list", Value::Array{Value::Image(image), 1}}});
  const auto parsed = ParsePropertyList(PropertyListXml(preset));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(*parsed, Value(Dictionary{{"list", Value::Array{1}}}));
}

TEST(PropertyList, DamagedInputIsReportedNotCrashed) {
  EXPECT_FALSE(ParsePropertyList(""));
  EXPECT_FALSE(ParsePropertyList("this is not a property list"));
  EXPECT_FALSE(ParsePropertyList("<?xml version=\"1.0\"?><plist><dict><key>a</key>"));
  EXPECT_FALSE(ParsePropertyList(std::string("bplist00\xff\xff\xff", 11)));

  test::ScratchHome home;
  EXPECT_EQ(ReadPropertyListFile(home.path() / "absent.plist").error, PropertyListError::Missing);
  EXPECT_EQ(ReadPropertyListFile(home.path()).error, PropertyListError::Unreadable);
  std::ofstream(home.path() / "garbage.plist") << "garbage";
  EXPECT_EQ(ReadPropertyListFile(home.path() / "garbage.plist").error,
            PropertyListError::Malformed);

  // A file of a million keys would take minutes to parse: it is refused
  // with that reason, at once; one just within the limit is read.
  const auto keys = [](size_t count) {
    std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>";
    for (size_t i = 0; i < count; ++i) xml += "<key>k" + std::to_string(i) + "</key><true/>";
    return xml + "</dict></plist>";
  };
  std::ofstream(home.path() / "many.plist") << keys(kMostPropertyListKeys + 1);
  EXPECT_EQ(ReadPropertyListFile(home.path() / "many.plist").error, PropertyListError::TooManyKeys);
  const auto within = ParsePropertyList(keys(1000));
  ASSERT_TRUE(within);
  EXPECT_EQ(within->DictionaryValue()->size(), 1000u);
}

TEST(AtomicFile, ReplacesContentAndKeepsPermissions) {
  test::ScratchHome home;
  const auto file = home.path() / "settings";
  ASSERT_TRUE(WriteFileAtomically(file, "old"));
  std::filesystem::permissions(
      file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ASSERT_TRUE(WriteFileAtomically(file, "new"));
  EXPECT_EQ(*ReadWholeFile(file), "new");
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  // Nothing else is left in the folder: the temporary file was renamed.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()), {}), 1);
}

TEST(AtomicFile, FailureLeavesNoTraceAndTheOldEntry) {
  test::ScratchHome home;
  const Result missing = WriteFileAtomically(home.path() / "missing" / "f", "x");
  EXPECT_FALSE(missing);
  EXPECT_NE(missing.message().find("the folder " + (home.path() / "missing").string() +
                                   " does not exist"),
            std::string::npos);

  // A folder in the target's place cannot be replaced by a file.
  const auto target = home.path() / "target";
  std::filesystem::create_directories(target / "child");
  EXPECT_FALSE(WriteFileAtomically(target, "x"));
  EXPECT_TRUE(std::filesystem::is_directory(target / "child"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()), {}), 1);
}

}  // namespace
}  // namespace quillsheet
