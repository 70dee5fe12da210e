#include "KvRuntimeClasses.h"

#include "DB.h"

#include "KvApplication.h"
#include "KvDbCtrls.h"
#include "KvEdCtrls.h"
#include "KvExtCtrls.h"
#include "KvMenus.h"
#include "KvPkgImages.h"
#include "KvPkgPrivileges.h"
#include "KvPkgStrings.h"
#include "KvPkgVars.h"
#include "KvStdCtrls.h"

QList<const QMetaObject*> KvRuntimeClasses()
{
    return {
        // Kv Standard
        &TKvCApplication::staticMetaObject, &TKvCForm::staticMetaObject, &TKvMainMenu::staticMetaObject, &TKvPopupMenu::staticMetaObject,
        &TKvLabel::staticMetaObject, &TKvEdit::staticMetaObject, &TKvComboBox::staticMetaObject,
        &TKvListBox::staticMetaObject, &TKvMemo::staticMetaObject, &TKvRichEdit::staticMetaObject,
        &TKvImage::staticMetaObject, &TKvFocusImage::staticMetaObject, &TKvCheckBox::staticMetaObject,
        &TKvRadioButton::staticMetaObject, &TKvGroupBox::staticMetaObject, &TKvRadioGroup::staticMetaObject,
        &TKvPanel::staticMetaObject, &TKvScrollBox::staticMetaObject, &TKvPageControl::staticMetaObject,
        &TKvBitBtn::staticMetaObject, &TKvSpeedButton::staticMetaObject, &TKvPkgImage::staticMetaObject,
        &TKvShape::staticMetaObject, &TKvUpDown::staticMetaObject, &TKvUpDownEx::staticMetaObject,
        // Kv Additional
        &TKvPkgImages::staticMetaObject, &TKvPkgStrings::staticMetaObject, &TKvPkgVars::staticMetaObject,
        &TKvMemoBar::staticMetaObject,
        &TKvRichEditBar::staticMetaObject, &TKvImageBar::staticMetaObject, &TKvStatusBar::staticMetaObject,
        &TKvSplitter::staticMetaObject, &TKvProgressBar::staticMetaObject, &TKvTimer::staticMetaObject,
        &TKvThreadTimer::staticMetaObject, &TKvImageForm::staticMetaObject, &TKvMoveForm::staticMetaObject,
        &TKvPanelMenu::staticMetaObject, &TKvOutLookBar::staticMetaObject,
        &TKvPkgPrivileges::staticMetaObject, &TKvLBPrivileges::staticMetaObject,
        &TKvSetsGroup::staticMetaObject, &TKvRuler::staticMetaObject, &TKvCBuffer::staticMetaObject,
        &TKvFontComboBox::staticMetaObject, &TKvFontListBox::staticMetaObject,
        &TKvExtScrollBar::staticMetaObject, &TKvCFrame::staticMetaObject,
        // Kv Data Controls
        &TKvDbLabel::staticMetaObject, &TKvDbEdit::staticMetaObject, &TKvDbComboBox::staticMetaObject,
        &TKvDbListBox::staticMetaObject, &TKvDbMemo::staticMetaObject, &TKvDbRichEdit::staticMetaObject,
        &TKvDbImage::staticMetaObject, &TKvDbFocusImage::staticMetaObject, &TKvDbCheckBox::staticMetaObject,
        &TKvDbRadioGroup::staticMetaObject, &TKvDbPageControl::staticMetaObject,
        &TKvDbNavigator::staticMetaObject, &TKvDbBitBtn::staticMetaObject, &TKvDbSpeedButton::staticMetaObject,
        &TKvDbPkgImage::staticMetaObject,
        // Kv Editors
        &TKvLBSetsColor::staticMetaObject, &TKvCBSetsColor::staticMetaObject,
        &TKvLBSetsBackGround::staticMetaObject, &TKvCBSetsBackGround::staticMetaObject,
        &TKvLBSetsFont::staticMetaObject, &TKvCBSetsFont::staticMetaObject, &TKvLBPkgImages::staticMetaObject,
        &TKvCBPkgImages::staticMetaObject, &TKvLBColors::staticMetaObject, &TKvCBColors::staticMetaObject,
        &TKvCBPrinters::staticMetaObject, &TKvPkgImagesAdd::staticMetaObject,
        &TKvPkgImagesDesignRgn::staticMetaObject,
        // Held by the components above
        &TKvMenuItem::staticMetaObject, &TKvTabSheet::staticMetaObject, &TKvOutLookBarPage::staticMetaObject,
        &TKvEditBtns::staticMetaObject, &TKvStatusBarPanel::staticMetaObject, &TKvPen::staticMetaObject,
    };
}

void KvRegisterRuntimeClasses()
{
    static const bool Done = [] {
        KvRegisterTypes();
        KvRegisterPackageClasses(); // with the package kinds that only the application holds
        RegisterControlClasses();
        RegisterDBClasses(); // the data sets data-aware controls are linked to
        for (const QMetaObject* Class : KvRuntimeClasses())
            RegisterClass(Class);
        return true;
    }();
    Q_UNUSED(Done);
}
