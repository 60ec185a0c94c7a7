// How marks look in the files: tagged, so a later run can remove them
// (unmark) or replace them (converting a marked file again) and give back the
// page as it was; and texts with fields, composed from glyphs drawn once,
// look like the same texts drawn alone, in every layout.
#include <gtest/gtest.h>
#include <poppler.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdlib>

#include "common/AppPaths.h"
#include "common/PropertyList.h"
#include "engine/PreviewRenderer.h"
#include "output/ConversionDriver.h"
#include "output/DocumentList.h"
#include "output/MarkTag.h"
#include "output/SavePipeline.h"
#include "output/UnmarkedSource.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

namespace fs = std::filesystem;

// What a reader shows of a document: every page's pixels at a small scale,
// its text and the number of annotations per page.
struct Appearance {
  std::vector<std::vector<std::uint8_t>> pixels;
  std::vector<std::string> text;
  std::vector<size_t> annotations;
};

std::vector<std::vector<std::uint8_t>> PixelsOf(const SourceDocument& document) {
  std::vector<std::vector<std::uint8_t>> pixels;
  WatermarkSettings none;
  for (int p = 0; p < document.PageCount(); ++p) {
    const SurfaceHandle picture = RenderPreview(document.Page(p), none, 0.4);
    const auto* data = cairo_image_surface_get_data(picture.get());
    pixels.emplace_back(data, data + cairo_image_surface_get_stride(picture.get()) *
                                         cairo_image_surface_get_height(picture.get()));
  }
  return pixels;
}

Appearance AppearanceOf(const fs::path& pdf) {
  Appearance seen;
  OpenError error{};
  std::string message;
  const auto document = SourceDocument::Open(pdf.string(), "", error, message);
  if (!document) return seen;
  seen.pixels = PixelsOf(*document);
  const std::string uri = "file://" + fs::absolute(pdf).string();
  PopplerDocument* text = poppler_document_new_from_file(uri.c_str(), nullptr, nullptr);
  for (int p = 0; text && p < poppler_document_get_n_pages(text); ++p) {
    PopplerPage* page = poppler_document_get_page(text, p);
    char* words = poppler_page_get_text(page);
    seen.text.emplace_back(words ? words : "");
    g_free(words);
    g_object_unref(page);
  }
  if (text) g_object_unref(text);
  QPDF parsed;
  parsed.setSuppressWarnings(true);
  parsed.processFile(pdf.c_str());
  for (auto& page : QPDFPageDocumentHelper(parsed).getAllPages()) {
    seen.annotations.push_back(page.getAnnotations().size());
  }
  return seen;
}

// The mean difference of two renders, in 1/255 steps; large when the pages
// differ in number or size.
double MeanDifference(const Appearance& a, const Appearance& b) {
  if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return 255;
  double total = 0;
  size_t count = 0;
  for (size_t p = 0; p < a.pixels.size(); ++p) {
    if (a.pixels[p].size() != b.pixels[p].size()) return 255;
    for (size_t i = 0; i < a.pixels[p].size(); ++i) {
      total += std::abs(int(a.pixels[p][i]) - int(b.pixels[p][i]));
    }
    count += a.pixels[p].size();
  }
  return total / static_cast<double>(count);
}

std::vector<PresetChoice> BundledPresets() {
  std::vector<PresetChoice> presets;
  const auto read = ReadPropertyListFile(ResourceFolder() / "DefaultPreset.plist");
  const Dictionary* library = read.value ? read.value->DictionaryValue() : nullptr;
  if (!library) return presets;
  for (const auto& [name, preset] : *library) {
    if (!preset.DictionaryValue()) continue;
    WatermarkSettings settings = GetPresetSettingsFrom(preset.DictionaryValue());
    settings.viewScale = 1;
    presets.push_back({name, settings});
  }
  return presets;
}

class Marks : public ::testing::Test {
 protected:
  test::ScratchHome home_;

  // Marks input with the preset (no preset: removes the marks) into name.
  fs::path Convert(const fs::path& input, const PresetChoice* preset, const std::string& name,
                   bool keepMarks = false) {
    SaveRequest request;
    request.source = {input.string(), ""};
    if (preset) {
      request.settings = preset->settings;
      request.presetName = preset->name;
    }
    request.destination = home_.path() / name;
    request.keepMarks = keepMarks;
    const Result saved = SaveAsPDFFileOfSelectedDict(request, nullptr);
    if (!saved.ok()) {
      ADD_FAILURE() << saved.message();
      return {};
    }
    return request.destination;
  }

  // unmark(convert(x)) looks like x, with its text and annotations, and
  // convert(convert(x)) looks like convert(x).
  void ExpectRoundTrips(const fs::path& input, const PresetChoice& preset) {
    SCOPED_TRACE(input.filename().string() + " with " + preset.name);
    const fs::path marked = Convert(input, &preset, "marked.pdf");
    if (marked.empty()) return;
    const fs::path unmarked = Convert(marked, nullptr, "unmarked.pdf");
    const fs::path again = Convert(marked, &preset, "again.pdf");
    const Appearance original = AppearanceOf(input);
    const Appearance restored = AppearanceOf(unmarked);
    if (preset.settings.markVisibility != 1) {  // print-only marks do not show on screen
      EXPECT_GT(MeanDifference(original, AppearanceOf(marked)), 0.0) << "no mark to remove";
    }
    EXPECT_LT(MeanDifference(original, restored), 1.0);
    EXPECT_EQ(restored.text, original.text);
    EXPECT_EQ(restored.annotations, original.annotations);
    EXPECT_LT(MeanDifference(AppearanceOf(marked), AppearanceOf(again)), 1.0);
  }
};

TEST_F(Marks, BundledPresetsComeOffTheSampleAndAreReplacedNotStacked) {
  const fs::path sample = ResourceFolder() / "samples" / "sample.pdf";
  const auto presets = BundledPresets();
  ASSERT_GE(presets.size(), 5u);
  for (const PresetChoice& preset : presets) ExpectRoundTrips(sample, preset);

  // The same with print-only and screen-only marks, which are annotations.
  for (int visibility : {1, 2}) {
    PresetChoice preset = presets.front();
    preset.settings.markVisibility = visibility;
    ExpectRoundTrips(sample, preset);
  }
}

// A forged tag on the page's own content and on its link does not make
// them marks: only what the writer itself wrote comes off, and the report
// says that something mark-like was left in place.
TEST_F(Marks, AForgedTagRemovesNothingOfThePage) {
  const fs::path sample = ResourceFolder() / "samples" / "sample.pdf";
  const auto presets = BundledPresets();
  ASSERT_FALSE(presets.empty());
  const fs::path marked = Convert(sample, &presets.front(), "marked.pdf");
  ASSERT_FALSE(marked.empty());
  const fs::path forged = home_.path() / "forged.pdf";
  {
    QPDF pdf;
    pdf.processFile(marked.c_str());
    for (auto& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
      QPDFObjectHandle contents = page.getObjectHandle().getKey("/Contents");
      for (QPDFObjectHandle item : contents.aitems()) {
        if (!IsTaggedMark(item)) TagAsMark(item, "Forged", "/Wrapper");
      }
      for (auto& annotation : page.getAnnotations()) {
        TagAsMark(annotation.getObjectHandle(), "Forged", "/Annotation");
      }
    }
    QPDFWriter writer(pdf, forged.c_str());
    writer.write();
  }
  SaveRequest request;
  request.source = {forged.string(), ""};
  request.destination = home_.path() / "unforged.pdf";
  SaveNotes notes;
  ASSERT_TRUE(SaveAsPDFFileOfSelectedDict(request, nullptr, &notes));
  EXPECT_GT(notes.leftInPlace, 0u);
  const Appearance original = AppearanceOf(sample);
  const Appearance restored = AppearanceOf(request.destination);
  EXPECT_LT(MeanDifference(original, restored), 1.0);
  EXPECT_EQ(restored.text, original.text);
  EXPECT_EQ(restored.annotations, original.annotations);
}

TEST_F(Marks, KeepingMarksStacksTheNewOnTheOld) {
  const fs::path sample = ResourceFolder() / "samples" / "sample.pdf";
  const PresetChoice preset = BundledPresets().front();
  const fs::path marked = Convert(sample, &preset, "marked.pdf");
  const fs::path stacked = Convert(marked, &preset, "stacked.pdf", true);
  EXPECT_GT(MeanDifference(AppearanceOf(marked), AppearanceOf(stacked)), 0.05);
  // Both marks are found and removed.
  EXPECT_LT(MeanDifference(AppearanceOf(sample), AppearanceOf(Convert(stacked, nullptr, "u.pdf"))),
            1.0);
}

// The window's list shows a marked file's pages as converting reads them,
// without the earlier mark; an unmarked file is shown as it is.
TEST_F(Marks, AMarkedFileIsListedWithoutItsEarlierMark) {
  const fs::path sample = ResourceFolder() / "samples" / "sample.pdf";
  const PresetChoice preset = BundledPresets().front();
  const fs::path marked = Convert(sample, &preset, "marked.pdf");
  EXPECT_EQ(OpenWithoutEarlierMarks(sample.string(), ""), nullptr);

  // The same mark on a copy locked with a password, unlocked when listed.
  SaveRequest locked;
  locked.source = {marked.string(), ""};
  locked.settings = preset.settings;
  locked.keepMarks = true;
  locked.settings.textEnabled = locked.settings.fillEnabled = false;
  locked.encryption = GetEncryptionDictionary(true, "secret", "secret");
  locked.destination = home_.path() / "locked.pdf";
  ASSERT_TRUE(SaveAsPDFFileOfSelectedDict(locked, nullptr).ok());
  struct Unlocker : PasswordPrompt {
    Answer Ask(const fs::path&, int) override { return {Answer::Kind::Password, "secret"}; }
  } unlocker;

  DocumentList list;
  ASSERT_EQ(list.Add({marked, locked.destination}, false, &unlocker).added, 2u);
  const double markShows = MeanDifference(AppearanceOf(sample), AppearanceOf(marked));
  EXPECT_GT(markShows, 0.05);
  for (const ListedDocument& listed : list.Snapshot()) {
    SCOPED_TRACE(listed.path.string());
    ASSERT_TRUE(listed.document);
    Appearance shown;
    shown.pixels = PixelsOf(*listed.document);
    EXPECT_LT(MeanDifference(AppearanceOf(sample), shown), markShows / 10);
  }
}

TEST_F(Marks, ARunThatRemovesMarksKeepsNamesAndSaysWhenThereWereNone) {
  const fs::path sample = ResourceFolder() / "samples" / "sample.pdf";
  const PresetChoice preset = BundledPresets().front();
  const fs::path marked = Convert(sample, &preset, "report.pdf");
  struct Quiet : ConversionObserver {
    void Progress(const ProgressState&) override {}
    bool ContinueWithoutWatermark(const std::string&) override { return false; }
    void Finished(const RunReport&) override {}
  } observer;
  ConversionOptions options;
  options.removeMarksOnly = true;
  CancelFlag cancel{false};
  const fs::path out = home_.path() / "out";
  fs::create_directories(out);
  const RunReport report = ConvertSelectedOrAllfiles(
      {}, {{marked.string(), ""}, {sample.string(), ""}}, out, options, observer, cancel);
  ASSERT_EQ(report.OutputsMade(), 2u);
  EXPECT_EQ(report.results[0].output, out / "report.pdf");
  EXPECT_TRUE(report.results[0].warnings.empty());
  EXPECT_EQ(report.results[1].output, out / "sample.pdf");
  ASSERT_EQ(report.results[1].warnings.size(), 1u);
  EXPECT_NE(report.results[1].warnings[0].find("no watermark placed by Quillsheet"),
            std::string::npos);
}

TEST_F(Marks, TextsWithFieldsLookLikeTheSameTextsDrawnAlone) {
  const fs::path sample = ResourceFolder() / "samples" / "sample.pdf";
  std::vector<PresetChoice> presets = BundledPresets();
  // Besides the bundled layouts (one with a shadow): fitted diagonally, and
  // tiled, both filled and stroked, with and without a coloured shadow.
  for (const auto& [layout, fit] : {std::pair{1, 3}, std::pair{4, 0}}) {
    for (const bool shadow : {false, true}) {
      PresetChoice variant = presets.front();
      variant.name += " layout " + std::to_string(layout) + (shadow ? " shadow" : "");
      variant.settings.drawingType = layout;
      variant.settings.fitDrawingType = fit;
      variant.settings.drawingMode = 2;
      variant.settings.dropShadow = shadow;
      variant.settings.shadowColor = Rgba{0.6, 0.1, 0.1, 0.8};
      variant.settings.shadowBlur = 5;
      variant.settings.shadowXOffset = 4;
      presets.push_back(variant);
    }
  }
  for (const PresetChoice& bundled : presets) {
    if (!bundled.settings.textEnabled) continue;
    SCOPED_TRACE(bundled.name);
    PresetChoice fields = bundled;
    fields.settings.fillEnabled = false;
    fields.settings.textFields = true;
    fields.settings.textString = bundled.settings.textString + " {page}/{pages}";
    const Appearance composed = AppearanceOf(Convert(sample, &fields, "fields.pdf"));
    for (int page = 1; page <= 4; ++page) {
      PresetChoice alone = fields;
      alone.settings.textFields = false;
      alone.settings.textString = bundled.settings.textString + " " + std::to_string(page) + "/4";
      Appearance drawn = AppearanceOf(Convert(sample, &alone, "alone.pdf"));
      ASSERT_EQ(drawn.pixels.size(), 4u);
      Appearance one{{composed.pixels.at(page - 1)}, {}, {}};
      EXPECT_LT(MeanDifference(one, Appearance{{drawn.pixels[page - 1]}, {}, {}}), 0.1) << page;
    }
  }
}

TEST_F(Marks, CorpusDocumentsComeBackAsTheyWere) {
  const fs::path corpus = test::CorpusFolder();
  if (corpus.empty()) GTEST_SKIP() << "shared corpus absent";
  const auto presets = BundledPresets();
  for (const char* file :
       {"rotate_nonstandard-values_userunit_annots_16p.pdf",
        "boxes_crop_nonzero-origin_rot0-90-180-270.pdf", "annots_stamp_attachment_type3.pdf",
        "form_all-field-types_office-export.pdf", "outlines_pagelabels_xmp.pdf"}) {
    for (const PresetChoice& preset : presets) ExpectRoundTrips(corpus / file, preset);
  }
}

}  // namespace
}  // namespace quillsheet
