#include "output/ConversionDriver.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>

#include "common/AtomicFile.h"
#include "engine/TextShaping.h"
#include "output/HiddenMarks.h"
#include "output/OutputNaming.h"
#include "output/PageSelection.h"
#include "output/SavePipeline.h"

namespace quillsheet {
namespace {

// One output to make, decided before any work starts.
struct PlannedOutput {
  size_t preset = 0;
  size_t document = 0;
  size_t copy = 0;
  std::uint64_t fileIndex = 0;    // 1-based within the preset
  std::uint64_t presetIndex = 0;  // 1-based
  std::filesystem::path output;
};

// The file's name with its folder's name, so two "a.pdf" can be told apart.
std::string ShortPathOf(const std::string& path) {
  const std::filesystem::path file(path);
  const std::filesystem::path folder = file.parent_path().filename();
  return folder.empty() ? file.filename().string() : (folder / file.filename()).string();
}

std::string BaseNameOf(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

class Run {
 public:
  Run(const std::vector<PresetChoice>& presets, const std::vector<DocumentEntry>& documents,
      const std::filesystem::path& destination, const ConversionOptions& options,
      ConversionObserver& observer, CancelFlag& cancel)
      : presets_(options.removeMarksOnly ? MarkRemoval() : presets),
        documents_(documents),
        destination_(destination),
        options_(options),
        observer_(observer),
        cancel_(cancel),
        runTime_(FieldTime::Now()) {}

  RunReport Execute() {
    const auto start = std::chrono::steady_clock::now();
    RunReport report;
    if (!presets_.empty() && !documents_.empty()) {
      progress_.maximum = presets_.size() * documents_.size() * CopyCount() + 2;
      progress_.numOfPDFFilesForConversion = documents_.size() * CopyCount();
      progress_.numOfPresetsForConversion = presets_.size();
      Advance(kStatusRunStarts);
      for (const PresetChoice& preset : presets_) {
        marks_.push_back(std::make_shared<DrawnMarks>(ForFiles(preset.settings)));
      }
      const std::vector<PlannedOutput> plan = Plan(report);
      report.refused = UnknownField();
      if (report.refused.empty()) report.refused = OutputReplacingAnInput(plan);
      if (report.refused.empty()) {
        // What a killed run left in these folders goes first.
        std::set<std::filesystem::path> folders;
        for (const PlannedOutput& planned : plan) folders.insert(planned.output.parent_path());
        for (const auto& folder : folders) RemoveStaleStagedFiles(folder);
        report.results = Work(plan);
      }
      Advance(kStatusRunEnds);
    }
    report.cancelled = cancel_.load();
    report.elapsed = std::chrono::steady_clock::now() - start;
    observer_.Finished(report);
    return report;
  }

 private:
  // Decides every output's path in the sequential order, asking about presets
  // without a layer as they come.
  std::vector<PlannedOutput> Plan(RunReport& report) {
    const bool toFile = options_.toFolder
                            ? !*options_.toFolder
                            : DestinationIsFile(presets_.size(), documents_.size(), CopyCount());
    const GeneralPreferences& preferences = options_.preferences;
    LabelPosition position{};
    const std::string separator = GetAppFilePrefOptions(preferences, position);
    bool allowWithoutWatermark = false;
    std::set<std::filesystem::path> taken;
    std::vector<PlannedOutput> plan;
    for (size_t p = 0; p < presets_.size(); ++p) {
      const PresetChoice& preset = presets_[p];
      if (!preset.settings.textEnabled && !preset.settings.fillEnabled && !allowWithoutWatermark &&
          !options_.removeMarksOnly) {
        allowWithoutWatermark = observer_.ContinueWithoutWatermark(preset.name);
        if (!allowWithoutWatermark) {
          report.stoppedWithoutWatermark = true;
          break;
        }
      }
      std::filesystem::path folder = destination_;
      if (!toFile && preferences.createSeparateFolderForEachFile && !options_.removeMarksOnly) {
        folder = GetDestURLWithPresetName(preset.name, destination_);
      }
      for (size_t d = 0; d < documents_.size(); ++d) {
        for (size_t c = 0; c < CopyCount(); ++c) {
          PlannedOutput output{p, d, c, d * CopyCount() + c + 1, p + 1, destination_};
          if (!toFile) {
            const std::string base = BaseNameFor(output, position, separator);
            output.output = OutputPathInFolder(folder, base, preferences.replaceExistFile, taken);
          }
          taken.insert(output.output);
          plan.push_back(output);
        }
      }
    }
    return plan;
  }

  size_t CopyCount() const { return std::max<size_t>(1, options_.copies.size()); }

  // An output's name in a folder, without ".pdf": from the name template,
  // the document's own for a removal, else by the naming preferences.
  std::string BaseNameFor(const PlannedOutput& output, LabelPosition position,
                          const std::string& separator) const {
    const std::string own = BaseNameOf(documents_[output.document].path);
    const std::string& preset = presets_[output.preset].name;
    if (options_.nameTemplate) {
      const auto named = ExpandTextFields(
          *options_.nameTemplate, FieldsFor(documents_[output.document].path, preset, output.copy),
          nullptr);
      if (named && !named->empty()) return SafeNameComponent(*named);
    }
    if (options_.removeMarksOnly) return own;
    return GetFullFileNameForPresetIndex(preset, position, separator, own);
  }

  // An output that would land on one of the run's own inputs (a folder
  // converted into itself with replacing on) would destroy it, and a later
  // preset would read the earlier one's output: the run is refused whole.
  std::string OutputReplacingAnInput(const std::vector<PlannedOutput>& plan) const {
    for (const PlannedOutput& planned : plan) {
      for (const DocumentEntry& document : documents_) {
        std::error_code ignored;
        if (std::filesystem::equivalent(planned.output, document.path, ignored)) {
          return "the output " + planned.output.string() + " would replace the input " +
                 document.path + "; nothing was converted";
        }
      }
    }
    return {};
  }

  // The one piece of work of a run that only removes marks: no layer.
  static std::vector<PresetChoice> MarkRemoval() { return {{kMarkRemovalName, {}}}; }

  // The record of a preset as files are drawn: scale 1, no marker.
  static WatermarkSettings ForFiles(WatermarkSettings settings) {
    settings.viewScale = 1.0f;
    settings.showMarker = false;
    return settings;
  }

  // The values every text with fields may use, besides the page's own: the
  // user's, the source's name, the preset's and the run's date and time.
  FieldValues FieldsFor(const std::string& source, const std::string& preset, size_t copy) const {
    FieldValues values = options_.fields;
    if (copy < options_.copies.size()) {
      for (const auto& [name, value] : options_.copies[copy]) values.insert_or_assign(name, value);
    }
    AddDocumentFields(values, source, preset, runTime_);
    return values;
  }

  // A field no value is given for, in a text or in the name template, or a
  // text too long to draw, is found before anything is written.
  std::string UnknownField() const {
    for (const PresetChoice& preset : presets_) {
      if (preset.settings.textEnabled && !preset.settings.textProblem.empty()) {
        return "the preset \"" + preset.name + "\": " + preset.settings.textProblem +
               "; nothing was converted";
      }
      std::string problem;
      if (options_.nameTemplate &&
          !ExpandTextFields(*options_.nameTemplate, FieldsFor("", preset.name, 0), &problem)) {
        return "the name template: " + problem + "; nothing was converted";
      }
      if (!preset.settings.textFields) continue;
      FieldValues values = FieldsFor("", preset.name, 0);
      AddPageFields(values, 1, 1, "");
      if (!ExpandTextFields(preset.settings.textString, values, &problem)) {
        return "the preset \"" + preset.name + "\": " + problem + "; nothing was converted";
      }
    }
    return {};
  }

  SaveRequest RequestFor(const PlannedOutput& planned) {
    SaveRequest request;
    request.fields =
        FieldsFor(documents_[planned.document].path, presets_[planned.preset].name, planned.copy);
    request.source = documents_[planned.document];
    request.settings = marks_[planned.preset]->settings();
    request.marks = marks_[planned.preset];
    request.destination = planned.output;
    request.filter = QualityFilterForTag(options_.preferences.filterTag);
    if (request.filter && !QualityFilterAvailable()) request.filter.reset();
    request.encryption = options_.encryption;
    if (!request.encryption && options_.keepInputPassword && !request.source.password.empty()) {
      request.encryption = EncryptionOptions{request.source.password};
    }
    request.presetName = presets_[planned.preset].name;
    request.keepMarks = options_.keepMarks && !options_.removeMarksOnly;
    request.progress = [this, &planned](double part) { DocumentMoved(planned, part); };
    request.selectionTag = options_.preferences.pageRangeOptionTag;
    if (request.selectionTag == kPageRange)
      request.rangeString = options_.preferences.pageRangeString;
    return request;
  }

  // Converts the plan on up to `jobs` threads. Jobs are taken in order; the
  // progress of a document is reported as it is taken.
  std::vector<OutputResult> Work(const std::vector<PlannedOutput>& plan) {
    std::vector<std::optional<OutputResult>> results(plan.size());
    std::atomic<size_t> next{0};
    const auto worker = [&] {
      for (;;) {
        size_t job = 0;
        {
          std::lock_guard lock(observerGuard_);
          if (cancel_.load()) return;
          job = next++;
          if (job >= plan.size()) return;
          StartDocument(plan[job]);
        }
        results[job] = Convert(plan[job]);
      }
    };
    const int jobs = std::max(1, std::min<int>(options_.jobs, static_cast<int>(plan.size())));
    std::vector<std::thread> threads;
    for (int i = 1; i < jobs; ++i) threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads) thread.join();

    std::vector<OutputResult> done;
    for (auto& result : results) {
      if (result) done.push_back(std::move(*result));
    }
    return done;
  }

  // One output, whatever happens inside: an exception (out of memory, a
  // path the file system refuses) fails this document and the run goes on.
  OutputResult Convert(const PlannedOutput& planned) {
    OutputResult result{documents_[planned.document].path,
                        presets_[planned.preset].name,
                        planned.output,
                        Result::Failed("not converted"),
                        {}};
    try {
      const SaveRequest request = RequestFor(planned);
      SaveNotes notes;
      result.outcome = SaveAsPDFFileOfSelectedDict(request, &cancel_, &notes);
      if (result.outcome.ok())
        result.warnings = WarningsFor(request, notes, planned.fileIndex == 1);
    } catch (const std::exception& failure) {
      result.outcome = Result::Failed(result.source + ": " + failure.what());
    } catch (...) {
      result.outcome = Result::Failed(result.source + ": an unexpected error");
    }
    return result;
  }

  // Warnings about the preset itself are given once, with its first output.
  std::vector<std::string> WarningsFor(const SaveRequest& request, const SaveNotes& notes,
                                       bool firstOfPreset) const {
    std::vector<std::string> warnings;
    if (!request.source.password.empty() && !request.encryption) {
      warnings.push_back(std::filesystem::path(request.source.path).filename().string() +
                         " was password-protected; its copy is not");
    }
    if (notes.leftInPlace > 0) {
      warnings.push_back(std::filesystem::path(request.source.path).filename().string() +
                         ": a mark-like object that this program did not write was left in place");
    }
    if (options_.removeMarksOnly && notes.unmarkedPages == 0) {
      warnings.push_back("no watermark placed by Quillsheet was found in " + request.source.path +
                         "; copied as it is");
    }
    const bool layers = request.settings.textEnabled || request.settings.fillEnabled;
    if (layers && notes.markedPages == 0) {
      warnings.push_back("no page of " + request.source.path + " matched " +
                         DescribeSelection(request.selectionTag, request.rangeString.value_or("")) +
                         "; copied without a mark");
    }
    if (!request.settings.fillImageProblem.empty()) {
      warnings.push_back(request.settings.fillImageProblem);
    }
    // Looking for hidden marks takes a while; a cancelled run stops at once.
    if (const HiddenMarks hidden =
            cancel_.load() ? HiddenMarks{} : PagesHidingTheMarkBehind(request);
        !hidden.pages.empty()) {
      const std::string lookedAt = hidden.pagesLookedAt < hidden.pagesSelected
                                       ? " (" + std::to_string(hidden.pagesLookedAt) + " of its " +
                                             std::to_string(hidden.pagesSelected) +
                                             " pages looked at)"
                                       : "";
      warnings.push_back("the mark behind the page is hidden on " +
                         std::string(hidden.pages.size() == 1 ? "page " : "pages ") +
                         DescribePages(hidden.pages) + " of " +
                         std::filesystem::path(request.source.path).filename().string() + lookedAt +
                         " (opaque background); put it in front?");
    }
    if (firstOfPreset && request.settings.textEnabled) {
      const std::string missing =
          CharactersWithoutFont(request.settings.textFont, request.settings.textString);
      if (!missing.empty()) {
        warnings.push_back("no installed font has the character(s) \"" + missing +
                           "\"; they are drawn as empty boxes");
      }
    }
    return warnings;
  }

  void StartDocument(const PlannedOutput& planned) {
    latest_ = &planned;
    progress_.documentPart = 0;
    progress_.presetProcessingIndex = planned.presetIndex;
    progress_.currentPresetName = presets_[planned.preset].name;
    progress_.fileProcessingIndex = planned.fileIndex;
    progress_.currentFileName = ShortPathOf(documents_[planned.document].path);
    AdvanceLocked(kStatusDocumentStarts);
  }

  // Page progress of the document started last (with parallel jobs the
  // others' would make the bar jump back and forth).
  void DocumentMoved(const PlannedOutput& planned, double part) {
    std::lock_guard lock(observerGuard_);
    if (latest_ != &planned || part < progress_.documentPart + 0.01) return;
    progress_.status = kStatusDocumentMoves;
    progress_.documentPart = std::min(part, 1.0);
    observer_.Progress(progress_);
  }

  void Advance(int status) {
    std::lock_guard lock(observerGuard_);
    AdvanceLocked(status);
  }

  void AdvanceLocked(int status) {
    progress_.status = status;
    progress_.value = std::min(progress_.value + 1, progress_.maximum);
    observer_.Progress(progress_);
  }

  const std::vector<PresetChoice> presets_;
  const std::vector<DocumentEntry>& documents_;
  const std::filesystem::path destination_;
  const ConversionOptions& options_;
  ConversionObserver& observer_;
  CancelFlag& cancel_;
  const FieldTime runTime_;
  std::mutex observerGuard_;
  ProgressState progress_;
  const PlannedOutput* latest_ = nullptr;           // the document started last
  std::vector<std::shared_ptr<DrawnMarks>> marks_;  // per preset, shared by its outputs
};

std::string Format(const char* format, std::uint64_t index, std::uint64_t count,
                   const std::string& name) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<long>(index), static_cast<long>(count));
  return text + name;
}

}  // namespace

std::string ProgressState::FileText() const {
  return Format("Processing File (%ld/%ld): ", fileProcessingIndex, numOfPDFFilesForConversion,
                currentFileName);
}

std::string ProgressState::PresetText() const {
  return Format("Preset Name (%ld/%ld): ", presetProcessingIndex, numOfPresetsForConversion,
                currentPresetName);
}

size_t RunReport::OutputsMade() const {
  return static_cast<size_t>(std::count_if(results.begin(), results.end(),
                                           [](const OutputResult& r) { return r.outcome.ok(); }));
}

bool RunReport::LastSaveSucceeded() const {
  return !results.empty() && results.back().outcome.ok();
}

size_t RunReport::WarningCount() const {
  size_t count = 0;
  for (const OutputResult& result : results) count += result.warnings.size();
  return count;
}

std::vector<const OutputResult*> RunReport::Failures() const {
  std::vector<const OutputResult*> failures;
  for (const OutputResult& result : results) {
    if (result.outcome.status() == Result::Status::Failed) failures.push_back(&result);
  }
  return failures;
}

std::vector<std::string> UserFieldsNeeded(const std::vector<PresetChoice>& presets) {
  std::vector<std::string> names;
  for (const PresetChoice& preset : presets) {
    if (!preset.settings.textFields) continue;
    FieldValues own;
    AddDocumentFields(own, "", preset.name, {});
    AddPageFields(own, 1, 1, "");
    AddFieldsWithoutValue(preset.settings.textString, own, names);
  }
  return names;
}

bool DestinationIsFile(size_t presetCount, size_t documentCount, size_t copyCount) {
  return presetCount == 1 && documentCount == 1 && copyCount <= 1;
}

RunReport ConvertSelectedOrAllfiles(const std::vector<PresetChoice>& presets,
                                    const std::vector<DocumentEntry>& documents,
                                    const std::filesystem::path& destination,
                                    const ConversionOptions& options, ConversionObserver& observer,
                                    CancelFlag& cancel) {
  return Run(presets, documents, destination, options, observer, cancel).Execute();
}

std::thread StartConversion(std::vector<PresetChoice> presets, std::vector<DocumentEntry> documents,
                            std::filesystem::path destination, ConversionOptions options,
                            ConversionObserver& observer, CancelFlag& cancel) {
  return std::thread([=, &observer, &cancel] {
    ConvertSelectedOrAllfiles(presets, documents, destination, options, observer, cancel);
  });
}

}  // namespace quillsheet
