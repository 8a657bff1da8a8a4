#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "formplay/PlayScript.h"
#include "framework/core/Component.h"
#include "framework/forms/ControlDump.h"

namespace emr {

class TApplication;
class TControl;
class TCustomForm;
namespace platform {
class HeadlessBackend;
}

/// Plays a script of input against forms shown on the headless backend. The
/// commands run from the application's idle step, one at a time until one
/// produces input, so that a modal box or popup menu opened by a click takes
/// the commands that follow in its own loop, as it would take a user's.
class TFormPlayer {
public:
    TFormPlayer(platform::HeadlessBackend& backend, TApplication& app, std::ostream& out);

    /// Creates the root of a stored layout (which must be a form), makes it the
    /// main form when there is none, fires its OnCreate and shows it. Layout
    /// errors raise Exception("line L, column C: ..."). The form is the one that
    /// `save` and `reload` act on.
    TCustomForm* LoadForm(std::string_view layout);
    /// Runs the commands until the last one is done and everything it caused
    /// is handled. A failing command raises Exception("line N: ...").
    void Play(const std::vector<TPlayCommand>& commands);

private:
    void Step();
    void Execute(const TPlayCommand& command);
    TCustomForm& PlayedForm() const;

    platform::HeadlessBackend& backend_;
    TApplication& app_;
    std::ostream& out_;
    std::string layout_;
    TComponentRef<TCustomForm> form_;
    const std::vector<TPlayCommand>* commands_ = nullptr;
    std::size_t next_ = 0;
    std::string error_;
};

/// The form player program: `formplay LAYOUT [SCRIPT]` (the script from standard
/// input when no file is named). Returns the process exit status; messages go to `err`.
int FormPlayMain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);

} // namespace emr
