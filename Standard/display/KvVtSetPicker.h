#pragma once

#include "KvSetsWindow.h"

#include <memory>

class TKvSetReference;
class TKvSetColor;
class TKvSetFont;
class TKvSetBackGround;

namespace Ui {
class TFrSetPicker;
}

// Chooses the set a colour, font or background reference names, or none, or "<Default>"; adds,
// modifies and deletes sets of the application's display package on the way.
class TKvSetPicker : public TKvSetsWindow
{
    Q_OBJECT

public:
    ~TKvSetPicker() override;

    // 1 when confirmed (the reference then names the choice), 2 otherwise. The display package
    // is saved either way.
    // "<Default>" shows the reference's default set, and the default set's name typed in any
    // case is stored as "<Default>"; a reference without a default keeps "<Default>" as a name.
    int Execute();

    Ui::TFrSetPicker* ui() const { return FUi.get(); }

protected:
    TKvSetPicker(TKvSetKind Kind, QWidget* Parent);
    virtual TKvSetReference* Reference() const = 0;
    void Modified() override;
    void RowDoubleClicked() override;

private:
    std::unique_ptr<Ui::TFrSetPicker> FUi;
};

class TFrSetColor : public TKvSetPicker
{
    Q_OBJECT

public:
    explicit TFrSetColor(QWidget* Parent = nullptr) : TKvSetPicker(TKvSetKind::Color, Parent) {}
    // The reference edited; set before Execute.
    TKvSetColor* FSetColor = nullptr;

protected:
    TKvSetReference* Reference() const override;
};

class TFrSetFont : public TKvSetPicker
{
    Q_OBJECT

public:
    explicit TFrSetFont(QWidget* Parent = nullptr) : TKvSetPicker(TKvSetKind::Font, Parent) {}
    TKvSetFont* FSetFont = nullptr;

protected:
    TKvSetReference* Reference() const override;
};

class TFrSetBackGround : public TKvSetPicker
{
    Q_OBJECT

public:
    explicit TFrSetBackGround(QWidget* Parent = nullptr) : TKvSetPicker(TKvSetKind::BackGround, Parent) {}
    TKvSetBackGround* FSetBackGround = nullptr;

protected:
    TKvSetReference* Reference() const override;
};

// The picker of the reference's kind, editing it; none for a reference of another class.
std::unique_ptr<TKvSetPicker> KvCreateSetPicker(TKvSetReference* Reference);
