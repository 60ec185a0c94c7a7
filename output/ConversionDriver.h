// A conversion run: every chosen preset, in table order, applied to every
// chosen document, each output through the save pipeline. Documents are
// converted on up to `jobs` threads at once; names, progress and results
// follow the sequential order, so a parallel run gives the same files.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/GeneralPreferences.h"
#include "engine/TextFields.h"
#include "engine/WatermarkSettings.h"
#include "output/DocumentEntry.h"
#include "output/QualityFilter.h"

namespace quillsheet {

inline constexpr int kStatusRunStarts = 1;
inline constexpr int kStatusDocumentStarts = 3;
inline constexpr int kStatusDocumentMoves = 4;  // documentPart of it is done
inline constexpr int kStatusRunEnds = 5;

struct PresetChoice {
  std::string name;
  WatermarkSettings settings;
};

// Everything a run reads once at its start.
struct ConversionOptions {
  GeneralPreferences preferences;  // naming, quality, page selection
  std::optional<EncryptionOptions> encryption;
  // Without `encryption`, a copy of a locked document is protected with the
  // document's own password; otherwise it is written unprotected, and its
  // result says so.
  bool keepInputPassword = false;
  int jobs = 1;
  // Whether the destination is a folder, when the caller decided it (the
  // command line, from what the user named); else DestinationIsFile decides.
  std::optional<bool> toFolder;
  // Values of the user's own fields ("{recipient}") in texts with fields.
  FieldValues fields;
  // Personalised copies: each document and preset gives one output per
  // entry, with the entry's values over `fields`. Empty: one output each.
  std::vector<FieldValues> copies;
  // The outputs' names in a folder (without ".pdf"), from the fields
  // "{file}", "{preset}", "{date}", "{time}" and the user's, instead of the
  // naming preferences.
  std::optional<std::string> nameTemplate;
  // Marks an earlier run placed in a document stay under the new ones;
  // otherwise the new mark replaces them.
  bool keepMarks = false;
  // The run only removes earlier marks: the presets given are not used, each
  // document gives one output under its own name.
  bool removeMarksOnly = false;
};

// The name progress and reports give the work of a run that removes marks.
inline constexpr const char* kMarkRemovalName = "watermarks removed";

struct ProgressState {
  int status = kStatusRunStarts;
  std::uint64_t maximum = 0;  // presets x documents x copies + 2
  std::uint64_t value = 0;
  std::uint64_t fileProcessingIndex = 0;
  std::uint64_t numOfPDFFilesForConversion = 0;  // documents x copies
  std::uint64_t presetProcessingIndex = 0;
  std::uint64_t numOfPresetsForConversion = 0;
  // How much of the document last started is done, 0 to 1, as its pages
  // are marked and written (0 when it starts).
  double documentPart = 0;
  std::string currentFileName;  // enough of the path to tell two "a.pdf" apart
  std::string currentPresetName;

  std::string FileText() const;    // "Processing File (%ld/%ld): %@"
  std::string PresetText() const;  // "Preset Name (%ld/%ld): %@"
  // A run that only removes marks has no preset to tell of.
  bool HasPreset() const { return currentPresetName != kMarkRemovalName; }
};

struct OutputResult {
  std::string source;
  std::string preset;
  std::filesystem::path output;
  Result outcome;
  // Made, but not quite as asked ("no page of X matched 5-9; copied without
  // a mark", "picture X not found: fill layer skipped").
  std::vector<std::string> warnings;
};

struct RunReport {
  std::vector<OutputResult> results;  // in sequential order, for the outputs attempted
  bool cancelled = false;
  bool stoppedWithoutWatermark = false;  // the user declined a preset with no layer
  std::string refused;  // why the run wrote nothing at all (an output would replace an input)
  std::chrono::steady_clock::duration elapsed{};

  size_t OutputsMade() const;
  bool LastSaveSucceeded() const;
  std::vector<const OutputResult*> Failures() const;
  size_t WarningCount() const;
};

// The caller's side of a run. Every call comes from the run's threads (the
// thread that runs ConvertSelectedOrAllfiles, or its helpers with parallel
// jobs), one call at a time, never from the caller's own thread unless it
// runs the conversion itself. A window must hand the calls over to its main
// thread (queued); Progress must return at once (never wait for the main
// thread), while ContinueWithoutWatermark may block until the user answers.
class ConversionObserver {
 public:
  virtual ~ConversionObserver() = default;
  virtual void Progress(const ProgressState& state) = 0;
  // A preset has neither layer on: go on without a watermark? Asked at most
  // once per run, before any file is written.
  virtual bool ContinueWithoutWatermark(const std::string& presetName) = 0;
  // The last call of a run.
  virtual void Finished(const RunReport& report) = 0;
};

// The user's own fields the presets' texts need values for (those a run
// gives no value to by itself), each once, in order; empty when none.
std::vector<std::string> UserFieldsNeeded(const std::vector<PresetChoice>& presets);

// The destination is one file exactly when one output is made.
bool DestinationIsFile(size_t presetCount, size_t documentCount, size_t copyCount = 1);

// Runs the whole conversion on the calling thread.
RunReport ConvertSelectedOrAllfiles(const std::vector<PresetChoice>& presets,
                                    const std::vector<DocumentEntry>& documents,
                                    const std::filesystem::path& destination,
                                    const ConversionOptions& options, ConversionObserver& observer,
                                    CancelFlag& cancel);

// Starts the same on a thread of its own.
std::thread StartConversion(std::vector<PresetChoice> presets, std::vector<DocumentEntry> documents,
                            std::filesystem::path destination, ConversionOptions options,
                            ConversionObserver& observer, CancelFlag& cancel);

}  // namespace quillsheet
