#pragma once
// Starting another program without waiting for it, and ending this one at once.

#include "toolkit/controls.h"

namespace pf::win32 {

class Process final : public pf::Process {
public:
    // Runs the program at `path` with the given show command (1: normal, focused)
    // and returns at once. A missing file throws RuntimeError 53 "Fichier
    // introuvable"; any other refusal throws the system's error.
    void start_program(std::wstring_view path, int show_command) override;
    // Every window and timer goes with the process; no code of the caller runs after it.
    [[noreturn]] void end() override;
};

}  // namespace pf::win32
