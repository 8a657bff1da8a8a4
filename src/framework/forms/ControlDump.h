#pragma once

#include <functional>
#include <string>
#include <vector>

namespace emr {

class TControl;

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

} // namespace emr
