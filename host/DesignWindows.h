#pragma once

#include "DesignIntf.h"

#include <QList>
#include <QWidget>

// A non-modal editor window beside the form designer (menu editor, collection editors). Every
// live one hears every designer's signals (DesignNotifier) and picks out its own designer's.
class TDesignWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TDesignWindow(QWidget* parent = nullptr);
    ~TDesignWindow() override;

    virtual void ItemsModified(IDesigner* ADesigner);
    virtual void SelectionChanged(IDesigner* ADesigner, const TDesignerSelectionList& ASelection);
    // Item may be half destroyed: compare the pointer, do not use it.
    virtual void ItemDeleted(IDesigner* ADesigner, TPersistent* Item);
    // Closes the window when ADesigner is its designer, and forgets the designer.
    virtual void DesignerClosed(IDesigner* ADesigner);
    virtual void EditAction(TEditAction Action);
    virtual TEditState GetEditState() const;

    IDesigner* Designer() const { return FDesigner; }
    void SetDesigner(IDesigner* ADesigner) { FDesigner = ADesigner; }
    // Selects in the designer; the SelectionChanged this brings back finds Selecting() true.
    void SetSelection(const TDesignerSelectionList& List);
    TDesignerSelectionList CreateSelectionList() const { return {}; }

protected:
    bool Selecting() const { return FSelecting; }

private:
    IDesigner* FDesigner = nullptr;
    bool FSelecting = false;
};

// The clipboard holds components as form text under its own MIME type, and as plain text.
inline constexpr char ComponentsMimeType[] = "application/x-kv-components";

// Puts the components (each with its children) on the clipboard, references named as seen from
// Root. The root itself and components whose parent is also given are not copied on their own.
void CopyComponents(TComponent* Root, const TDesignerSelectionList& Components);
// The clipboard holds something PasteComponents can read.
bool ClipboardComponents();
// Reads the clipboard's components into Owner under Parent (Owner when null). A name that is
// taken gets a fresh one from the designer, and references among the pasted components follow
// the renamed copies. Adds the top-level components read to Pasted; reads all or nothing.
void PasteComponents(TComponent* Owner, TComponent* Parent, TDesignerSelectionList& Pasted, IDesigner* Designer);
