#include "display/KvVtHints.h"

#include "ui_KvVtHints.h"

TFrHints::TFrHints(QWidget* Parent) : TKvMetricsWindow(TKvMetricsEdit::Hints, Parent), FUi(new Ui::TFrHints)
{
    FUi->setupUi(this);
    Bind({{FUi->UDLeft, FUi->UDTop, FUi->UDRight, FUi->UDBottom}, FUi->CbWinRgn, FUi->EdSkin, FUi->BtSkin,
          FUi->ExampleImage, FUi->BtOk, FUi->BtCancel, FUi->BtApply});
}

TFrHints::~TFrHints() = default;
