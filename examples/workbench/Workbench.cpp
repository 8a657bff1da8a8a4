#include "Workbench.h"

#include <exception>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "WorkbenchGlyphs.h"
#include "WorkbenchPresets.h"
#include "framework/forms/Form.h"
#include "framework/forms/Label.h"
#include "framework/forms/MDIChild.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/ShortCut.h"
#include "framework/graphics/ImageList.h"
#include "framework/streaming/LayoutReader.h"
#include "menus/AdvMainMenu.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/LayoutStore.h"

namespace emr {

namespace {

// The look lives in the layout file beside the toolbars' places.
constexpr std::string_view kSettingsSection = "Workbench";
constexpr std::string_view kStyleValue = "Style";

template <class T> T* Part(const TCustomForm* form, const std::string& name) {
    T* part = form->FindComponentAs<T>(name);
    if (!part) throw std::logic_error("the workbench layout has no " + name);
    return part;
}

/// The persistence record whose file also keeps the look.
const TPersistence& SettingsRecord(const TCustomForm* form) {
    return *Part<TAdvDockPanel>(form, "TopDock")->Persistence();
}

void Announce(const TMenuItem* item) {
    std::cout << "chosen " << item->Caption() << std::endl;
}

void AddStyleItems(TCustomForm* form) {
    TMenuItem* styleMenu = Part<TMenuItem>(form, "StyleMenu");
    for (const TWorkbenchPreset& preset : WorkbenchPresets()) {
        auto* item = new TMenuItem(form);
        item->SetName("Style_" + std::string(preset.Name));
        item->SetCaption(std::string(preset.Caption));
        item->SetRadioItem(true);
        item->SetGroupIndex(10);
        item->SetTag(static_cast<int>(preset.Style));
        item->OnClick = [form, style = preset.Style](TObject*) { SetWorkbenchStyle(form, style); };
        styleMenu->Add(item);
    }
}

/// Each View item shows or hides one toolbar, wherever it is docked or floating.
void ConnectToolBarItems(TCustomForm* form) {
    static constexpr const char* kToolBars[] = {"Standard", "Format", "Clipboard", "Drawing", "Navigation"};
    std::vector<std::pair<TMenuItem*, TAdvCustomToolBar*>> pairs;
    for (const char* name : kToolBars) {
        TMenuItem* item = Part<TMenuItem>(form, std::string("Show") + name);
        TAdvCustomToolBar* toolBar = Part<TAdvCustomToolBar>(form, name);
        item->SetChecked(toolBar->Visible());
        item->OnClick = [item, toolBar](TObject*) {
            toolBar->SetVisible(!toolBar->Visible());
            item->SetChecked(toolBar->Visible());
        };
        pairs.emplace_back(item, toolBar);
    }
    // A floating toolbar's close button hides it without the menu's knowledge.
    Part<TMenuItem>(form, "ViewMenu")->OnClick = [pairs](TObject*) {
        for (auto [item, toolBar] : pairs)
            item->SetChecked(toolBar->Visible());
    };
}

std::vector<TMDIChild*> Documents(const TCustomForm* form) {
    std::vector<TMDIChild*> documents;
    for (TControl* c : Part<TWinControl>(form, "Body")->ControlList())
        if (auto* child = dynamic_cast<TMDIChild*>(c)) documents.push_back(child);
    return documents;
}

void AddDocuments(TCustomForm* form) {
    auto* body = Part<TWinControl>(form, "Body");
    const char* names[] = {"Notes", "Report"};
    const char* texts[] = {
        "Drag a toolbar by its grip to another edge, or into this area to let it float.",
        "Narrow the window: what no longer fits is offered by the toolbar's option button."};
    for (int i = 0; i < 2; ++i) {
        auto* child = new TMDIChild(form);
        child->SetName(names[i]);
        child->SetCaption(names[i]);
        child->SetParent(body);
        child->SetBounds(16 + 40 * i, 16 + 40 * i, 340, 180);
        child->SetColor(clWindow);
        auto* text = new TLabel(form);
        text->SetParent(child);
        text->SetBounds(TMDIChild::FrameWidth + 10, TMDIChild::FrameWidth + TMDIChild::CaptionHeight + 10,
                        300, 40);
        text->SetAutoSize(false);
        text->SetWordWrap(true);
        text->SetCaption(texts[i]);
        TMenuItem* item = Part<TMenuItem>(form, std::string(names[i]) + "Item");
        item->OnClick = [child, item](TObject*) {
            if (child->WindowState() == wsMinimized) child->SetWindowState(wsNormal);
            child->Activate();
            item->SetChecked(true);
        };
    }
    Part<TMenuItem>(form, "ReportItem")->SetChecked(true);

    Part<TMenuItem>(form, "CascadeItem")->OnClick = [form](TObject*) {
        int step = 0;
        for (TMDIChild* child : Documents(form)) {
            child->SetWindowState(wsNormal);
            child->SetBounds(16 + 24 * step, 16 + 24 * step, 340, 180);
            child->Activate();
            ++step;
        }
    };
    Part<TMenuItem>(form, "NextItem")->OnClick = [form](TObject*) {
        // The active child is the front one, the last of its parent's children;
        // bringing the back one forward walks through all of them.
        const std::vector<TMDIChild*> documents = Documents(form);
        if (documents.size() > 1) documents.front()->Activate();
    };
    Part<TMenuItem>(form, "WindowMenu")->OnClick = [form](TObject*) {
        const TMDIChild* active = ActiveMDIChildOf(form);
        for (const char* name : {"Notes", "Report"})
            Part<TMenuItem>(form, std::string(name) + "Item")->SetChecked(active && active->Name() == name);
    };
}

void ConnectCommands(TCustomForm* form) {
    for (const char* name :
         {"NewItem", "OpenItem", "SaveItem", "UndoItem", "CutItem", "CopyItem", "PasteItem", "CustomizeItem",
          "PastePlainItem", "PasteSpecialItem", "PasteTextItem"}) {
        TMenuItem* item = Part<TMenuItem>(form, name);
        item->OnClick = [item](TObject*) { Announce(item); };
    }
    for (const char* name : {"RedItem", "GreenItem", "BlueItem"}) {
        TMenuItem* item = Part<TMenuItem>(form, name);
        item->OnClick = [item](TObject*) {
            item->SetChecked(true);
            Announce(item);
        };
    }
    Part<TMenuItem>(form, "NewItem")->SetShortCut(TextToShortCut("Ctrl+N"));
    Part<TMenuItem>(form, "OpenItem")->SetShortCut(TextToShortCut("Ctrl+O"));
    Part<TMenuItem>(form, "SaveItem")->SetShortCut(TextToShortCut("Ctrl+S"));
    Part<TMenuItem>(form, "UndoItem")->SetShortCut(TextToShortCut("Ctrl+Z"));
    Part<TMenuItem>(form, "CutItem")->SetShortCut(TextToShortCut("Ctrl+X"));
    Part<TMenuItem>(form, "CopyItem")->SetShortCut(TextToShortCut("Ctrl+C"));
    Part<TMenuItem>(form, "PasteItem")->SetShortCut(TextToShortCut("Ctrl+V"));
    Part<TMenuItem>(form, "ExitItem")->OnClick = [form](TObject*) { form->Close(); };

    // Locking keeps every docked toolbar where it is; floating ones refuse it.
    TMenuItem* lock = Part<TMenuItem>(form, "LockItem");
    lock->OnClick = [form, lock](TObject*) {
        lock->SetChecked(!lock->Checked());
        for (TComponent* c : form->Components())
            if (auto* toolBar = dynamic_cast<TAdvCustomToolBar*>(c); toolBar && toolBar->Docked())
                toolBar->SetLocked(lock->Checked());
    };
}

/// The look saved by an earlier run, if there is a readable one.
const TWorkbenchPreset* SavedPreset(const TCustomForm* form) {
    try {
        std::unique_ptr<TSettingsStore> store = TLayoutStore::Open(SettingsRecord(form));
        const std::string name = store->ReadString(kSettingsSection, kStyleValue, "");
        store->Close();
        return FindWorkbenchPreset(name);
    } catch (const std::exception& e) {
        std::cerr << "workbench: the saved look is not read: " << e.what() << '\n';
        return nullptr;
    }
}

void ShowStyle(TCustomForm* form, TToolBarStyle style) {
    Part<TAdvToolBarOfficeStyler>(form, "Styler")->SetStyle(style);
    for (TMenuItem* item : Part<TMenuItem>(form, "StyleMenu")->Items())
        if (item->Tag() == static_cast<int>(style)) item->SetChecked(true);
}

} // namespace

TCustomForm* CreateWorkbench(TComponent* owner, bool rightToLeft) {
    std::string layout(WorkbenchLayout());
    // The direction is one more stored property of the window, read before anything it holds.
    if (rightToLeft)
        layout.insert(layout.find('\n', layout.find("object ")) + 1, "  BiDiMode = bdRightToLeft\n");
    auto* form = dynamic_cast<TCustomForm*>(TLayoutReader::CreateFromText(layout, owner));
    if (!form) throw std::logic_error("the workbench layout's root is not a form");
    AddWorkbenchGlyphs(Part<TCustomImageList>(form, "Glyphs"));
    AddStyleItems(form);
    ConnectToolBarItems(form);
    AddDocuments(form);
    ConnectCommands(form);
    const TWorkbenchPreset* saved = SavedPreset(form);
    ShowStyle(form, saved ? saved->Style : Part<TAdvToolBarOfficeStyler>(form, "Styler")->Style());
    return form;
}

void SetWorkbenchStyle(TCustomForm* workbench, TToolBarStyle style) {
    ShowStyle(workbench, style);
    try {
        std::unique_ptr<TSettingsStore> store = TLayoutStore::Open(SettingsRecord(workbench));
        store->WriteString(kSettingsSection, kStyleValue, WorkbenchPresetOf(style).Name);
        store->Close();
    } catch (const std::exception& e) {
        TLayoutStore::ReportSaveFailure(e);
    }
}

} // namespace emr
