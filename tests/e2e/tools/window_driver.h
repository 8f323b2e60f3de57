// wintool's window commands: drive another program's windows as a person would, finding
// a window by its caption and its controls by their ids.
//
//   wintool window <caption> [ms]      wait (at most ms, default 60000) until a visible
//                                      top-level window of that caption is there; prints
//                                      its place on the screen as WxH+X+Y
//   wintool press <caption> <id>       press button <id> of that window; refused (1) when
//                                      the button is hidden or disabled
//   wintool text <caption> <id>        print the text of control <id> of that window
//   wintool progress <caption> <id> <min> [ms]
//                                      wait until progress bar <id> stands at <min> or
//                                      further; prints "position/upper"
//   wintool hold <caption>             suspend the thread that owns the window, so that the
//                                      screen can be photographed as it is
//   wintool release <caption>          let it go on again
//   wintool close <caption>            ask the window to close, as its close box does
//
// Several commands separated by "--" run one after the other in one start of wintool,
// stopping at the first that fails: a window that is up only briefly can be found, read
// and held before it is gone.
//
// Exit status: 0 done, 1 no such window or control, the wait timed out or the press was
// refused, 2 wrong command line.
#pragma once

#include <string>
#include <vector>

namespace wintool {

bool IsWindowCommand(const std::string& name);
int RunWindowCommand(const std::vector<std::string>& args);

}  // namespace wintool
