#include "display/KvVtCommonWnds.h"

#include "ui_KvVtCommonWnds.h"

TFrCommonWnds::TFrCommonWnds(QWidget* Parent)
    : TKvMetricsWindow(TKvMetricsEdit::CommonWnds, Parent), FUi(new Ui::TFrCommonWnds)
{
    FUi->setupUi(this);
    Bind({{FUi->UDMarginAfterTitle, FUi->UDTitleHeight, FUi->UDButtonsWidth, FUi->UDButtonsHeight,
           FUi->UDButtonsSpacing, FUi->UDButtonsMargin, FUi->UDLeft, FUi->UDTop, FUi->UDRight, FUi->UDBottom},
          FUi->CbWinRgn, FUi->EdSkin, FUi->BtSkin, FUi->ExampleImage, FUi->BtOk, FUi->BtCancel, FUi->BtApply});
}

TFrCommonWnds::~TFrCommonWnds() = default;
