#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "framework/forms/PlayScript.h"

namespace emr {

class TApplication;
class TControl;
class TCustomForm;
namespace platform {
class HeadlessBackend;
}

/// Adds lines to a dump after a control's own subtree: a container can list
/// what it holds besides child controls (rows, bands). `depth` is the control's
/// own depth; lines carry their own indentation (DumpIndent).
using TDumpExtension =
    std::function<void(const TControl& control, int depth, std::vector<std::string>& lines)>;
/// Registers an extension for every later dump; returns an id for RemoveDumpExtension.
int AddDumpExtension(TDumpExtension extension);
void RemoveDumpExtension(int id);
/// Two spaces per level.
std::string DumpIndent(int depth);
/// Every form (in creation order) and its control tree, depth-first in child
/// order, one line each: "Name: ClassName Left,Top,Width,Height" and " hidden"
/// when not visible. Forms give screen positions, controls parent-client ones.
std::string DumpForms();
/// One control and everything under it, starting at `depth`.
void DumpControl(const TControl& control, int depth, std::vector<std::string>& lines);

/// Plays a script of input against forms shown on the headless backend. The
/// commands run from the application's idle step, one at a time until one
/// produces input, so that a modal box or popup menu opened by a click takes
/// the commands that follow in its own loop, as it would take a user's.
class TFormPlayer {
public:
    TFormPlayer(platform::HeadlessBackend& backend, TApplication& app, std::ostream& out);

    /// Creates the root of a stored layout (which must be a form), makes it the
    /// main form when there is none, fires its OnCreate and shows it. Layout
    /// errors raise Exception("line L, column C: ...").
    TCustomForm* LoadForm(std::string_view layout);
    /// Runs the commands until the last one is done and everything it caused
    /// is handled. A failing command raises Exception("line N: ...").
    void Play(const std::vector<TPlayCommand>& commands);

private:
    void Step();
    void Execute(const TPlayCommand& command);

    platform::HeadlessBackend& backend_;
    TApplication& app_;
    std::ostream& out_;
    const std::vector<TPlayCommand>* commands_ = nullptr;
    std::size_t next_ = 0;
    std::string error_;
};

/// The form player program: `formplay LAYOUT [SCRIPT]` (the script from standard
/// input when no file is named). Returns the process exit status; messages go to `err`.
int FormPlayMain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);

} // namespace emr
