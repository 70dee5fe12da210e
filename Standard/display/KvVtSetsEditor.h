#pragma once

#include "KvSetsWindow.h"

#include <memory>

namespace Ui {
class TFrSetsEditor;
}

// Lists one kind of sets of an application's display package to add, modify and delete them.
// It neither saves the package nor marks the form: its caller does.
class TKvSetsEditor : public TKvSetsWindow
{
    Q_OBJECT

public:
    ~TKvSetsEditor() override;

    // Shows the sets of CApplication's display package; the modal result.
    int Execute();

    Ui::TFrSetsEditor* ui() const { return FUi.get(); }

protected:
    TKvSetsEditor(TKvSetKind Kind, QWidget* Parent);
    void RowDoubleClicked() override;

private:
    std::unique_ptr<Ui::TFrSetsEditor> FUi;
};

class TFrSetsColor : public TKvSetsEditor
{
    Q_OBJECT

public:
    explicit TFrSetsColor(QWidget* Parent = nullptr) : TKvSetsEditor(TKvSetKind::Color, Parent) {}
};

class TFrSetsFont : public TKvSetsEditor
{
    Q_OBJECT

public:
    explicit TFrSetsFont(QWidget* Parent = nullptr) : TKvSetsEditor(TKvSetKind::Font, Parent) {}
};

class TFrSetsBackGround : public TKvSetsEditor
{
    Q_OBJECT

public:
    explicit TFrSetsBackGround(QWidget* Parent = nullptr) : TKvSetsEditor(TKvSetKind::BackGround, Parent) {}
};

// Opens the sets editor of the kind on App's display package, owned by Parent, and returns its
// modal result once it is closed. The caller saves the package or marks the form.
int KvShowSetsEditor(QWidget* Parent, TKvSetKind Kind, TKvCApplication* App);
