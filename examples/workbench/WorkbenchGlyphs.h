#pragma once

namespace emr {

class TCustomImageList;

/// The workbench's 16 x 16 images in the order the stored layout's ImageIndex
/// values count them.
enum TWorkbenchGlyph : int {
    wgNew,
    wgOpen,
    wgSave,
    wgPrint,
    wgPreview,
    wgUndo,
    wgRedo,
    wgFind,
    wgHelp,
    wgCut,
    wgCopy,
    wgPaste,
    wgBold,
    wgItalic,
    wgUnderline,
    wgAlignLeft,
    wgAlignCenter,
    wgAlignRight,
    wgPointer,
    wgPencil,
    wgBrush,
    wgEraser,
    wgFirst,
    wgPrevious,
    wgNext,
    wgLast,
    wgColour,
    wgCount
};

/// Draws every workbench image and adds it to `images` (which should be empty
/// and 16 x 16), each on a ground that the list masks out.
void AddWorkbenchGlyphs(TCustomImageList* images);

} // namespace emr
