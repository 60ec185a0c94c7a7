// Where a run's outputs go: the rules the command line and the window share
// for a destination (a file or a folder, what exists there, what may be
// replaced, the folder made for it). Plain functions on paths; any thread.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace quillsheet {

// The destination is a folder when it is one already, when its name ends in
// "/", when the run makes more than one output, or when its first input is
// a folder (whose documents may be many).
bool DestinationIsFolder(const std::string& destination, size_t presetCount, size_t inputCount,
                         bool firstInputIsFolder, size_t copyCount);

// Why a run may not write there: a file destination that exists is replaced
// only when replacing was asked for ("X exists"; the caller says how to ask).
std::optional<std::string> DestinationProblem(const std::filesystem::path& destination,
                                              bool toFolder, bool replace);

// Makes the folder the outputs go into (the destination, or a file
// destination's folder); the reason when it cannot.
std::optional<std::string> PrepareDestination(const std::filesystem::path& destination,
                                              bool toFolder);

}  // namespace quillsheet
