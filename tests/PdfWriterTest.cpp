#include <cairo-pdf.h>
#include <gtest/gtest.h>
#include <poppler.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>

#include "common/AtomicFile.h"
#include "engine/PreviewRenderer.h"
#include "output/PageGeometry.h"
#include "output/PageSelection.h"
#include "output/QualityFilter.h"
#include "output/SavePipeline.h"
#include "tests/TestPdf.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

// A preset that paints the whole page red in front of the content.
WatermarkSettings RedCover() {
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  s.textEnabled = false;
  s.fillBehind = false;
  s.backStyle = 4;
  s.backOpacity = 1;
  s.backColor = Rgba{1, 0, 0, 1};
  s.viewScale = 1;
  return s;
}

WatermarkSettings NoLayers() {
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  s.textEnabled = s.fillEnabled = false;
  return s;
}

class Writer : public ::testing::Test {
 protected:
  test::ScratchHome home_;

  std::filesystem::path Pdf(const std::vector<test::TestPage>& pages) {
    return test::WriteTestPdf(home_.path() / "in.pdf", pages);
  }

  Result Save(const std::filesystem::path& input, const WatermarkSettings& settings, int tag = 1,
              std::optional<std::string> range = std::nullopt,
              std::optional<EncryptionOptions> encryption = std::nullopt,
              const CancelFlag* cancel = nullptr, const std::string& password = "") {
    SaveRequest request;
    request.source = {input.string(), password};
    request.settings = settings;
    request.destination = Out();
    request.selectionTag = tag;
    request.rangeString = range;
    request.encryption = encryption;
    return SaveAsPDFFileOfSelectedDict(request, cancel);
  }

  std::filesystem::path Out() const { return home_.path() / "out.pdf"; }

  // Only the input and the output are left in the folder.
  void ExpectNoTemporaryFiles() {
    for (const auto& entry : std::filesystem::directory_iterator(home_.path())) {
      const std::string name = entry.path().filename().string();
      EXPECT_FALSE(name.starts_with(".qs-")) << name;
    }
  }

  // The colour at a page point of the output as a viewer shows it.
  std::uint32_t PixelOfOutput(int pageIndex, int x, int yUp) {
    OpenError error{};
    std::string message;
    const auto document = SourceDocument::Open(Out().string(), "", error, message);
    if (!document) return 0;
    const SourcePage page = document->Page(pageIndex);
    const SurfaceHandle picture = RenderPreview(page, NoLayers(), 1);
    const int row = cairo_image_surface_get_height(picture.get()) - 1 - yUp;
    return *reinterpret_cast<const std::uint32_t*>(
        cairo_image_surface_get_data(picture.get()) +
        row * cairo_image_surface_get_stride(picture.get()) + x * 4);
  }
};

QPDFObjectHandle::Rectangle MediaBox(QPDF& pdf, size_t page) {
  return QPDFPageDocumentHelper(pdf)
      .getAllPages()
      .at(page)
      .getObjectHandle()
      .getKey("/MediaBox")
      .getArrayAsRectangle();
}

TEST_F(Writer, PagesComeOutUprightWithTheirPageBoxAsMediaBox) {
  const std::string mark = "0 0 0 rg 50 50 100 100 re f";
  const auto input = Pdf({{612, 792, 0, "", mark},
                          {612, 792, 90, "", mark},
                          {612, 792, 180, "", mark},
                          {612, 792, -90, "", mark},
                          {612, 792, 0, "36 36 576 756", mark},
                          {612, 792, 0, "100 100 100 500", mark}});  // empty crop box
  ASSERT_TRUE(Save(input, RedCover(), kPageRange, "1,3,5").ok());
  QPDF out;
  out.processFile(Out().c_str());
  const auto pages = QPDFPageDocumentHelper(out).getAllPages();
  ASSERT_EQ(pages.size(), 6u);
  const double sizes[][2] = {{612, 792}, {792, 612}, {612, 792},
                             {792, 612}, {540, 720}, {612, 792}};
  for (size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE(i);
    QPDFObjectHandle page = pages[i].getObjectHandle();
    const auto box = page.getKey("/MediaBox").getArrayAsRectangle();
    EXPECT_DOUBLE_EQ(box.urx - box.llx, sizes[i][0]);
    EXPECT_DOUBLE_EQ(box.ury - box.lly, sizes[i][1]);
    EXPECT_FALSE(page.hasKey("/Rotate"));
    EXPECT_FALSE(page.hasKey("/CropBox"));
  }
  EXPECT_DOUBLE_EQ(MediaBox(out, 4).llx, 36);
  // Page 2, turned a quarter clockwise: the square is now at the upper left.
  EXPECT_EQ(PixelOfOutput(1, 100, 612 - 100), 0xFF000000u);
  EXPECT_EQ(PixelOfOutput(1, 100, 100), 0xFFFFFFFFu);
  // Page 4, turned -90 (= 270): the square is at the lower right.
  EXPECT_EQ(PixelOfOutput(3, 792 - 100, 100), 0xFF000000u);
  ExpectNoTemporaryFiles();

  // A media box that encloses nothing is a missing one: the page is Letter,
  // and its mark is drawn on it.
  const auto degenerate = Pdf({{0, 0, 0, "", mark}});
  ASSERT_TRUE(Save(degenerate, RedCover()).ok());
  QPDF empty;
  empty.processFile(Out().c_str());
  EXPECT_DOUBLE_EQ(MediaBox(empty, 0).urx, 612);
  EXPECT_DOUBLE_EQ(MediaBox(empty, 0).ury, 792);
  EXPECT_NE(PixelOfOutput(0, 300, 400), 0xFFFFFFFFu);  // the red cover shows
}

TEST_F(Writer, OnlySelectedPagesAreMarkedAndAllPagesStay) {
  const auto input = Pdf({{}, {}, {}});
  ASSERT_TRUE(Save(input, RedCover(), kFirstAndLastPage).ok());
  EXPECT_EQ(PixelOfOutput(0, 300, 400), 0xFFFF0000u);
  EXPECT_EQ(PixelOfOutput(1, 300, 400), 0xFFFFFFFFu);
  EXPECT_EQ(PixelOfOutput(2, 300, 400), 0xFFFF0000u);

  ASSERT_TRUE(Save(input, RedCover(), kPageRange, "").ok());  // empty range: no page
  for (int page = 0; page < 3; ++page) EXPECT_EQ(PixelOfOutput(page, 300, 400), 0xFFFFFFFFu);
}

// A page whose content stream does not decode is the source's damage: the
// reason names the source, not the output being written.
TEST_F(Writer, ASourcesOwnDamageIsNamedAsTheSources) {
  const std::string garbage = "x\x9cnot deflate data";
  std::string pdf = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  const std::string objects[] = {
      "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
      "<< /Length " + std::to_string(garbage.size()) + " /Filter /FlateDecode >>\nstream\n" +
          garbage + "\nendstream"};
  for (size_t i = 0; i < std::size(objects); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const size_t xref = pdf.size();
  pdf += "xref\n0 5\n0000000000 65535 f \n";
  for (const size_t offset : offsets) {
    char line[32];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
    pdf += line;
  }
  pdf += "trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  const auto input = home_.path() / "damaged.pdf";
  std::ofstream(input, std::ios::binary) << pdf;
  const Result saved = Save(input, RedCover());
  ASSERT_FALSE(saved.ok());
  EXPECT_TRUE(saved.message().starts_with(input.string() + ": ")) << saved.message();
  EXPECT_EQ(saved.message().find("cannot write"), std::string::npos) << saved.message();
  ExpectNoTemporaryFiles();
}

TEST_F(Writer, UnbalancedContentCannotMoveTheFrontLayer) {
  const auto input = Pdf({{612, 792, 0, "", "q 0.5 0 0 0.5 0 0 cm 0 0 1 rg 0 0 10 10 re f"},
                          {612, 792, 90, "", "Q Q 0 0 1 rg 0 0 10 10 re f"}});
  ASSERT_TRUE(Save(input, RedCover()).ok());
  EXPECT_EQ(PixelOfOutput(0, 600, 780), 0xFFFF0000u);  // the far corner is covered too
  EXPECT_EQ(PixelOfOutput(1, 780, 600), 0xFFFF0000u);
}

TEST(SaveRestoreScanner, CountsOperatorsOnly) {
  const auto count = [](std::string_view content) {
    const SaveRestoreCount c = CountSaveRestore(content);
    return std::make_pair(c.depth, c.unmatchedRestores);
  };
  EXPECT_EQ(count("q q 1 0 0 1 0 0 cm Q"), std::make_pair(1, 0));
  EXPECT_EQ(count("Q q Q Q"), std::make_pair(0, 2));
  EXPECT_EQ(count("BT (a \\) Q (q) ) Tj ET % Q q\nq"), std::make_pair(1, 0));
  EXPECT_EQ(count("<51> Tj /Q gs <</Q 1>> BDC[(Q)]TJ"), std::make_pair(0, 0));
  EXPECT_EQ(count(std::string_view("BI /W 1 ID \0Q qEI\nQ q EI Q", 27)), std::make_pair(0, 1));
  EXPECT_EQ(count("Qq"), std::make_pair(0, 0));  // one unknown word, not two operators
}

TEST_F(Writer, OneMarkIsSharedByAllPagesOfOneSize) {
  const auto input = Pdf({{}, {}, {}, {300, 300, 0, "", ""}, {}});
  WatermarkSettings settings = GetPresetSettingsFrom(nullptr);
  settings.viewScale = 1;
  ASSERT_TRUE(Save(input, settings).ok());
  QPDF out;
  out.processFile(Out().c_str());
  std::set<QPDFObjGen> marks;
  for (auto& page : QPDFPageDocumentHelper(out).getAllPages()) {
    for (auto& [name, form] : page.getFormXObjects()) marks.insert(form.getObjGen());
  }
  // Fill behind and text in front: two groups for each of the two sizes.
  EXPECT_EQ(marks.size(), 4u);
}

TEST_F(Writer, PagesSharingResourcesKeepSharingPerPageSize) {
  const auto plain = Pdf({{}, {}, {300, 300, 0, "", ""}});
  const auto shared = home_.path() / "shared.pdf";
  {
    QPDF pdf;
    pdf.processFile(plain.c_str());
    QPDFObjectHandle resources =
        pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /XObject << >> >>"));
    for (auto& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
      page.getObjectHandle().replaceKey("/Resources", resources);
    }
    QPDFWriter writer(pdf, shared.c_str());
    writer.write();
  }
  ASSERT_TRUE(Save(shared, RedCover()).ok());
  QPDF out;
  out.processFile(Out().c_str());
  std::set<QPDFObjGen> resourceObjects;
  for (auto& page : QPDFPageDocumentHelper(out).getAllPages()) {
    resourceObjects.insert(page.getObjectHandle().getKey("/Resources").getObjGen());
    EXPECT_EQ(page.getFormXObjects().size(), 1u);
  }
  EXPECT_EQ(resourceObjects.size(), 2u);  // one copy per page size
  EXPECT_EQ(PixelOfOutput(2, 150, 150), 0xFFFF0000u);
}

TEST_F(Writer, TheMarkAddsNoTextToThePage) {
  const auto sample = std::filesystem::path(QUILLSHEET_SOURCE_DIR) / "resources/samples/sample.pdf";
  WatermarkSettings settings = GetPresetSettingsFrom(nullptr);
  settings.drawingType = 4;
  settings.textString = "MARKTEXT";
  settings.viewScale = 1;
  ASSERT_TRUE(Save(sample, settings).ok());
  const auto text = [](const std::filesystem::path& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    PopplerDocument* document = poppler_document_new_from_file(uri, nullptr, nullptr);
    g_free(uri);
    PopplerPage* page = poppler_document_get_page(document, 0);
    gchar* raw = poppler_page_get_text(page);
    std::string result = raw ? raw : "";
    g_free(raw);
    g_object_unref(page);
    g_object_unref(document);
    return result;
  };
  EXPECT_EQ(text(Out()), text(sample));
  EXPECT_EQ(text(Out()).find("MARKTEXT"), std::string::npos);
  // Readers that ignore the empty ActualText find nothing either: the mark's
  // glyphs are outlines, so a page without text gains no font.
  for (const int layout : {1, 4}) {
    settings.drawingType = layout;
    ASSERT_TRUE(Save(Pdf({{612, 792, 0, "", "0 0 1 rg 0 0 50 50 re f"}}), settings).ok());
    QPDF out;
    out.processFile(Out().c_str());
    for (QPDFObjectHandle object : out.getAllObjects()) {
      EXPECT_FALSE(object.isDictionaryOfType("/Font")) << "layout " << layout;
    }
  }
}

TEST_F(Writer, BothLayersOffWritesTheDocumentAsItIs) {
  const auto input = Pdf({{612, 792, 90, "36 36 576 756", ""}});
  ASSERT_TRUE(Save(input, NoLayers()).ok());
  QPDF out;
  out.processFile(Out().c_str());
  QPDFObjectHandle page = QPDFPageDocumentHelper(out).getAllPages().at(0).getObjectHandle();
  EXPECT_EQ(page.getKey("/Rotate").getIntValue(), 90);
  EXPECT_TRUE(page.hasKey("/CropBox"));
}

TEST_F(Writer, EncryptedOutputOpensOnlyWithThePassword) {
  const auto input = Pdf({{}});
  ASSERT_TRUE(Save(input, RedCover(), 1, std::nullopt, EncryptionOptions{"s3cret"}).ok());
  QPDF locked;
  EXPECT_THROW(locked.processFile(Out().c_str(), ""), QPDFExc);
  QPDF opened;
  opened.processFile(Out().c_str(), "s3cret");
  EXPECT_TRUE(opened.isEncrypted());
  EXPECT_TRUE(opened.allowPrintHighRes());
  EXPECT_TRUE(opened.allowExtractAll());
  int revision = 0, version = 0;
  QPDF::encryption_method_e streams{}, strings{}, files{};
  int permissions = 0;
  opened.isEncrypted(revision, permissions, version, streams, strings, files);
  EXPECT_EQ(revision, 6);
}

TEST_F(Writer, DestinationIsReplacedWholeOrLeftAlone) {
  const auto input = Pdf({{}});
  std::ofstream(Out()) << "previous output";
  ASSERT_TRUE(Save(input, RedCover()).ok());
  EXPECT_NE(*ReadWholeFile(Out()), "previous output");

  std::ofstream(Out()) << "previous output";
  const auto text = home_.path() / "notes.pdf";
  std::ofstream(text) << "not a pdf at all";
  const Result failed = Save(text, RedCover());
  EXPECT_EQ(failed.status(), Result::Status::Failed);
  EXPECT_NE(failed.message().find("notes.pdf"), std::string::npos);
  EXPECT_EQ(*ReadWholeFile(Out()), "previous output");

  CancelFlag cancel{true};
  EXPECT_EQ(Save(input, RedCover(), 1, std::nullopt, std::nullopt, &cancel).status(),
            Result::Status::Cancelled);
  EXPECT_EQ(*ReadWholeFile(Out()), "previous output");

  const Result missing = Save(home_.path() / "gone.pdf", RedCover());
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(*ReadWholeFile(Out()), "previous output");
  ExpectNoTemporaryFiles();
}

TEST_F(Writer, EncryptionNeedsMatchingNonEmptyPasswords) {
  EXPECT_FALSE(GetEncryptionDictionary(false, "a", "a"));
  EXPECT_FALSE(GetEncryptionDictionary(true, "", ""));
  EXPECT_FALSE(GetEncryptionDictionary(true, "a", "A"));
  EXPECT_EQ(GetEncryptionDictionary(true, "a", "a")->password, "a");
}

// A page holding one large photograph-like picture (noise), which a quality
// filter shrinks a lot.
std::filesystem::path PicturePdf(const std::filesystem::path& path) {
  SurfaceHandle picture(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1200, 1200));
  std::uint32_t seed = 7;
  unsigned char* data = cairo_image_surface_get_data(picture.get());
  for (int i = 0; i < 1200 * cairo_image_surface_get_stride(picture.get()); ++i) {
    seed = seed * 1664525u + 1013904223u;
    data[i] = static_cast<unsigned char>(seed >> 24);
  }
  cairo_surface_mark_dirty(picture.get());
  SurfaceHandle pdf(cairo_pdf_surface_create(path.c_str(), 612, 792));
  cairo_t* cr = cairo_create(pdf.get());
  cairo_scale(cr, 0.3, 0.3);
  cairo_set_source_surface(cr, picture.get(), 100, 100);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_finish(pdf.get());
  return path;
}

// Without Ghostscript a run asked to filter says so (the window's report and
// the command line share the words); nothing is said when no filter was
// asked for.
TEST(QualityFilters, AMissingGhostscriptIsSaid) {
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  test::ScratchHome home;
  setenv("PATH", home.path().c_str(), 1);
  const auto problem = QualityFilterProblem(2);
  EXPECT_FALSE(QualityFilterProblem(0));
  setenv("PATH", path.c_str(), 1);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find("Ghostscript"), std::string::npos);
}

TEST_F(Writer, QualityFilterIsDeliveredWhenItShrinksTheFile) {
  if (!QualityFilterAvailable()) GTEST_SKIP() << "gs not installed";
  const auto source = PicturePdf(home_.path() / "photo.pdf");
  ASSERT_TRUE(Save(source, RedCover()).ok());
  const auto plain = std::filesystem::file_size(Out());
  // A locked source goes through the filter as well (as a private unlocked copy).
  const auto locked = home_.path() / "locked.pdf";
  {
    QPDF pdf;
    pdf.processFile(source.c_str());
    QPDFWriter writer(pdf, locked.c_str());
    writer.setR6EncryptionParameters("pw", "pw", true, true, true, true, true, true, qpdf_r3p_full,
                                     true);
    writer.write();
  }
  for (const auto& [input, password] :
       std::vector<std::pair<std::filesystem::path, std::string>>{{source, ""}, {locked, "pw"}}) {
    SaveRequest request;
    request.source = {input.string(), password};
    request.settings = RedCover();
    request.destination = Out();
    request.filter = QualityFilterForTag(3);
    ASSERT_TRUE(request.filter);
    ASSERT_TRUE(SaveAsPDFFileOfSelectedDict(request, nullptr).ok()) << input;
    EXPECT_LT(std::filesystem::file_size(Out()), plain / 4) << input;
    QPDF out;
    out.processFile(Out().c_str());
    auto page = QPDFPageDocumentHelper(out).getAllPages().front();
    const auto names = page.getObjectHandle().getKey("/Resources").getKey("/XObject").getKeys();
    EXPECT_TRUE(std::any_of(names.begin(), names.end(), [](const std::string& name) {
      return name.starts_with("/QswFront");
    })) << "the filtered copy is marked too";
  }
  ExpectNoTemporaryFiles();
}

class CorpusWriter : public Writer {
 protected:
  void SetUp() override {
    corpus_ = test::CorpusFolder();
    if (corpus_.empty()) GTEST_SKIP() << "shared corpus absent";
  }
  std::filesystem::path corpus_;
};

TEST_F(CorpusWriter, OutlineInformationLabelsAndLinksAreKept) {
  const auto input = corpus_ / "outlines_pagelabels_xmp.pdf";
  WatermarkSettings settings = GetPresetSettingsFrom(nullptr);
  settings.viewScale = 1;
  ASSERT_TRUE(Save(input, settings).ok());
  QPDF before, after;
  before.processFile(input.c_str());
  after.processFile(Out().c_str());
  EXPECT_EQ(QPDFOutlineDocumentHelper(after).getTopLevelOutlines().size(),
            QPDFOutlineDocumentHelper(before).getTopLevelOutlines().size());
  EXPECT_EQ(after.getTrailer().getKey("/Info").getKey("/Title").unparse(),
            before.getTrailer().getKey("/Info").getKey("/Title").unparse());
  EXPECT_EQ(after.getRoot().hasKey("/PageLabels"), before.getRoot().hasKey("/PageLabels"));
  EXPECT_EQ(after.getRoot().hasKey("/Metadata"), before.getRoot().hasKey("/Metadata"));
}

TEST_F(CorpusWriter, AnnotationsOfTurnedPagesStayOnThePage) {
  const auto input = corpus_ / "rotate_nonstandard-values_userunit_annots_16p.pdf";
  ASSERT_TRUE(Save(input, RedCover()).ok());
  QPDF before, after;
  before.processFile(input.c_str());
  after.processFile(Out().c_str());
  const auto oldPages = QPDFPageDocumentHelper(before).getAllPages();
  auto newPages = QPDFPageDocumentHelper(after).getAllPages();
  ASSERT_EQ(newPages.size(), oldPages.size());
  EXPECT_EQ(QPDFAcroFormDocumentHelper(after).getFormFields().size(),
            QPDFAcroFormDocumentHelper(before).getFormFields().size());
  for (size_t i = 0; i < newPages.size(); ++i) {
    const auto box = newPages[i].getObjectHandle().getKey("/MediaBox").getArrayAsRectangle();
    auto annotations = newPages[i].getAnnotations();
    EXPECT_EQ(annotations.size(), QPDFPageObjectHelper(oldPages[i]).getAnnotations().size());
    for (auto& annotation : annotations) {
      const auto rect = annotation.getRect();
      EXPECT_GE(std::min(rect.llx, rect.urx), box.llx - 1);
      EXPECT_LE(std::max(rect.llx, rect.urx), box.urx + 1);
      EXPECT_GE(std::min(rect.lly, rect.ury), box.lly - 1);
      EXPECT_LE(std::max(rect.lly, rect.ury), box.ury + 1);
    }
  }
}

TEST_F(CorpusWriter, AFilterThatWouldFlattenAFormIsNotDelivered) {
  if (!QualityFilterAvailable()) GTEST_SKIP() << "gs not installed";
  const auto input = corpus_ / "form_all-field-types_office-export.pdf";
  SaveRequest request;
  request.source = {input.string(), ""};
  request.settings = RedCover();
  request.destination = Out();
  request.filter = QualityFilterForTag(3);
  ASSERT_TRUE(SaveAsPDFFileOfSelectedDict(request, nullptr).ok());
  QPDF before, after;
  before.processFile(input.c_str());
  after.processFile(Out().c_str());
  EXPECT_GT(QPDFAcroFormDocumentHelper(before).getFormFields().size(), 0u);
  EXPECT_EQ(QPDFAcroFormDocumentHelper(after).getFormFields().size(),
            QPDFAcroFormDocumentHelper(before).getFormFields().size());
  ExpectNoTemporaryFiles();
}

TEST_F(CorpusWriter, DamagedEncryptedAndForeignInputs) {
  WatermarkSettings settings = GetPresetSettingsFrom(nullptr);
  settings.viewScale = 1;
  for (const char* name : {"damaged_bad-xref-offsets_hybrid.pdf",
                           "damaged_nul-padding-after-eof.pdf", "damaged_startxref-garbage_30p.pdf",
                           "damaged_truncated-after-startxref_junk-before-header.pdf",
                           "rotate_inherited_mixed_20p.pdf"}) {
    EXPECT_TRUE(Save(corpus_ / name, settings).ok()) << name;
  }
  EXPECT_FALSE(Save(corpus_ / "not-a-pdf_plain-text-2.pdf", settings).ok());
  const auto locked = corpus_ / "enc_rc4-128_user-view_owner-master_noprint.pdf";
  EXPECT_NE(Save(locked, settings).message().find("password"), std::string::npos);
  EXPECT_TRUE(Save(locked, settings, 1, {}, {}, nullptr, "view").ok());
  QPDF out;
  out.processFile(Out().c_str());
  EXPECT_FALSE(out.isEncrypted());
  EXPECT_EQ(QPDFPageDocumentHelper(out).getAllPages().size(), 30u);
  ExpectNoTemporaryFiles();
}

}  // namespace
}  // namespace quillsheet
