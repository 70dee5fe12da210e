#include "KvReg.h"

#include "KvCtrlsReg.h"
#include "KvRegClasses.h"

#include "Classes.h"
#include "Controls.h"
#include "DesignRegistry.h"
#include "Variants.h"

namespace {

template <class T>
const QMetaObject* Meta()
{
    return &T::staticMetaObject;
}

// Rows naming their editor class once: the text kvtool prints and the factory the host gets.
#define KV_PROPERTY_EDITOR(Editor) QStringLiteral(#Editor), PropertyEditorClass<Editor>()
#define KV_COMPONENT_EDITOR(Editor) QStringLiteral(#Editor), ComponentEditorClass<Editor>()

// A property type given as a metatype, or as the class its object properties point to.
TKvPropertyEditorRow Row(const char* TypeName, QMetaType Type, const QMetaObject* Component, const char* Property,
                         const QString& Editor, const TPropertyEditorClass& EditorClass)
{
    return {QString::fromLatin1(TypeName), Type, nullptr, Component, QString::fromLatin1(Property), Editor, EditorClass};
}

TKvPropertyEditorRow Row(const QMetaObject* TypeClass, const QMetaObject* Component, const char* Property,
                         const QString& Editor, const TPropertyEditorClass& EditorClass)
{
    return {QString::fromLatin1(TypeClass->className()), QMetaType(), TypeClass, Component,
            QString::fromLatin1(Property), Editor, EditorClass};
}

const QMetaType Variant_ = QMetaType::fromType<Variant>();
const QMetaType String_ = QMetaType::fromType<QString>();
const QMetaType Integer_ = QMetaType::fromType<int>();

QList<TKvPropertyEditorRow> MakePropertyEditorRows()
{
    const QMetaObject* Any = nullptr;
    const char* AnyProperty = "";
    return {
        /* 1 */ Row("TKvMultiLine", QMetaType::fromType<TKvMultiLine>(), Any, AnyProperty,
                    KV_PROPERTY_EDITOR(TKvMultiLinePropertyEditor)),
        /* 2 */ Row(Meta<TKvMask>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvMaskPropertyEditor)),
        /* 3 */ Row(Meta<TKvMemoryImage>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvMemoryImagePropertyEditor)),
        /* 4 */ Row(Meta<TKvMemoryLabel>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvMemoryLabelPropertyEditor)),
        /* 5 */ Row(Meta<TKvMemoryMessage>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvMemoryMessagePropertyEditor)),
        /* 6 */ Row(Meta<TKvMemoryText>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvMemoryTextPropertyEditor)),
        /* 7 */ Row(Meta<TKvSetFont>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvSetFontProperty)),
        /* 8 */ Row(Meta<TKvSetBackGround>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvSetBackGroundProperty)),
        /* 9 */ Row(Meta<TKvSetColor>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvSetColorProperty)),
        /* 10 */ Row(Meta<TKvPrivilege>(), Any, AnyProperty, KV_PROPERTY_EDITOR(TKvPrivilegeProperty)),
        /* 11 */ Row("Integer", Integer_, Meta<TKvPen>(), "Width", KV_PROPERTY_EDITOR(TKvWideProperty)),
        /* 12 */ Row(Meta<TKvPkgDisplay>(), Meta<TKvCApplication>(), "PkgDisplay",
                     KV_PROPERTY_EDITOR(TKvCApplicationPkgDisplayProperty)),
        /* 13 */ Row(Meta<TKvPkgLanguage>(), Meta<TKvCApplication>(), "PkgLanguage",
                     KV_PROPERTY_EDITOR(TKvCApplicationPkgLanguageProperty)),
        /* 14 */ Row(Meta<TKvPkgSetup>(), Meta<TKvCApplication>(), "PkgSetup",
                     KV_PROPERTY_EDITOR(TKvCApplicationPkgSetupProperty)),
        /* 15 */ Row(Meta<TKvPkgVars>(), Meta<TKvCApplication>(), "PkgVars",
                     KV_PROPERTY_EDITOR(TKvCApplicationPkgVarsProperty)),
        /* 16 */ Row(Meta<TKvPkgPrivileges>(), Meta<TKvCApplication>(), "Privileges",
                     KV_PROPERTY_EDITOR(TKvCApplicationPrivilegesProperty)),
        /* 17 */ Row("string", String_, Meta<TKvCApplication>(), "Path", KV_PROPERTY_EDITOR(TKvDirectoryPropertyEditor)),
        /* 18 */ Row("string", String_, Meta<TKvCApplication>(), "PathPkgVars",
                     KV_PROPERTY_EDITOR(TKvDirectoryPropertyEditor)),
        /* 19 */ Row("string", String_, Meta<TKvCApplication>(), "PathPrivileges",
                     KV_PROPERTY_EDITOR(TKvDirectoryPropertyEditor)),
        /* 20 */ Row("string", String_, Meta<TKvCForm>(), "PkgVars", KV_PROPERTY_EDITOR(TKvPkgVarsPkgVarsProperty)),
        /* 21 */ Row(Meta<TControl>(), Meta<TKvCForm>(), "BtnOk", KV_PROPERTY_EDITOR(TKvMainBtnPropertyEditor)),
        /* 22 */ Row(Meta<TControl>(), Meta<TKvCForm>(), "BtnCancel", KV_PROPERTY_EDITOR(TKvMainBtnPropertyEditor)),
        /* 23 */ Row(Meta<TCollection>(), Meta<TKvCForm>(), "DataSources",
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 24 */ Row(Meta<TKvMenuItem>(), Meta<TKvMainMenu>(), "Items", KV_PROPERTY_EDITOR(TKvMainMenuPropertyEditor)),
        /* 25 */ Row(Meta<TKvMenuItem>(), Meta<TKvMainMenu>(), "WindowsList",
                     KV_PROPERTY_EDITOR(TKvMainMenuWindowsListEditor)),
        /* 26 */ Row(Meta<TKvMenuItem>(), Meta<TKvPopupMenu>(), "Items", KV_PROPERTY_EDITOR(TKvPopupMenuPropertyEditor)),
        /* 27 */ Row(Meta<TKvMenuItem>(), Meta<TKvPanelMenu>(), "Items", KV_PROPERTY_EDITOR(TKvPanelMenuPropertyEditor)),
        /* 28 */ Row(Meta<TKvMenuItem>(), Meta<TKvPanelMenu>(), "WindowsList",
                     KV_PROPERTY_EDITOR(TKvPanelMenuWindowsListEditor)),
        /* 29 */ Row("Variant", Variant_, Meta<TKvLabel>(), "Value", KV_PROPERTY_EDITOR(TKvLabelVariantPropertyEditor)),
        /* 30 */ Row("Variant", Variant_, Meta<TKvEdit>(), "Value", KV_PROPERTY_EDITOR(TKvEditVariantPropertyEditor)),
        /* 31 */ Row("Variant", Variant_, Meta<TKvUpDownEx>(), "Max",
                     KV_PROPERTY_EDITOR(TKvUpDownExMaxVariantPropertyEditor)),
        /* 32 */ Row("Variant", Variant_, Meta<TKvUpDownEx>(), "Min",
                     KV_PROPERTY_EDITOR(TKvUpDownExMinVariantPropertyEditor)),
        /* 33 */ Row("Variant", Variant_, Meta<TKvUpDownEx>(), "Position",
                     KV_PROPERTY_EDITOR(TKvUpDownExPositionVariantPropertyEditor)),
        /* 34 */ Row("Variant", Variant_, Meta<TKvComboBox>(), "Value", KV_PROPERTY_EDITOR(TKvEditVariantPropertyEditor)),
        /* 35 */ Row(Meta<TKvCollection>(), Meta<TKvComboBox>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 36 */ Row("Variant", Variant_, Meta<TKvListBox>(), "Value",
                     KV_PROPERTY_EDITOR(TKvListBoxVariantPropertyEditor)),
        /* 37 */ Row(Meta<TKvCollection>(), Meta<TKvListBox>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 38 */ Row(Meta<TStrings>(), Meta<TKvRichEdit>(), "Lines", KV_PROPERTY_EDITOR(TKvRichEditPropertyEditor)),
        /* 39 */ Row("string", String_, Meta<TKvImage>(), "GraphicClass",
                     KV_PROPERTY_EDITOR(TKvImageGraphicClassProperty)),
        /* 40 */ Row("string", String_, Meta<TKvFocusImage>(), "GraphicClass",
                     KV_PROPERTY_EDITOR(TKvImageGraphicClassProperty)),
        /* 41 */ Row("Variant", Variant_, Meta<TKvRadioGroup>(), "Value",
                     KV_PROPERTY_EDITOR(TKvRadioGroupVariantPropertyEditor)),
        /* 42 */ Row(Meta<TKvCollection>(), Meta<TKvRadioGroup>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 43 */ Row("Variant", Variant_, Meta<TKvCheckBox>(), "Value",
                     KV_PROPERTY_EDITOR(TKvCheckBoxVariantPropertyEditor)),
        /* 44 */ Row("Variant", Variant_, Meta<TKvRadioButton>(), "Value",
                     KV_PROPERTY_EDITOR(TKvRadioButtonVariantPropertyEditor)),
        /* 45 */ Row("TModalResult", QMetaType::fromType<TModalResult>(), Meta<TKvBitBtn>(), "ModalResult",
                     KV_PROPERTY_EDITOR(TKvModalResultProperty)),
        /* 46 */ Row("TModalResult", QMetaType::fromType<TModalResult>(), Meta<TKvSpeedButton>(), "ModalResult",
                     KV_PROPERTY_EDITOR(TKvModalResultProperty)),
        /* 47 */ Row(Meta<TKvCollection>(), Meta<TKvDbBitBtn>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 48 */ Row(Meta<TKvCollection>(), Meta<TKvDbSpeedButton>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 49 */ Row("string", String_, Meta<TKvDbPkgImage>(), "PkgName", KV_PROPERTY_EDITOR(TKvImagePkgNameProperty)),
        /* 50 */ Row("string", String_, Meta<TKvPkgImages>(), "FileName",
                     KV_PROPERTY_EDITOR(TKvPkgImagesFileNameProperty)),
        /* 51 */ Row("TKvRegisterInitMode", QMetaType::fromType<TKvRegisterInitMode>(), Meta<TKvPkgImages>(),
                     "InitMode", KV_PROPERTY_EDITOR(TKvPkgInitModeProperty)),
        /* 52 */ Row("string", String_, Meta<TKvPkgStrings>(), "FileName",
                     KV_PROPERTY_EDITOR(TKvPkgStringsFileNameProperty)),
        /* 53 */ Row("TKvRegisterInitMode", QMetaType::fromType<TKvRegisterInitMode>(), Meta<TKvPkgStrings>(),
                     "InitMode", KV_PROPERTY_EDITOR(TKvPkgInitModeProperty)),
        /* 54 */ Row("string", String_, Meta<TKvPkgVars>(), "FileName", KV_PROPERTY_EDITOR(TKvPkgVarsFileNameProperty)),
        /* 55 */ Row("TKvRegisterInitMode", QMetaType::fromType<TKvRegisterInitMode>(), Meta<TKvPkgVars>(),
                     "InitMode", KV_PROPERTY_EDITOR(TKvPkgInitModeProperty)),
        /* 56 */ Row("Variant", Variant_, Meta<TKvPageControl>(), "Value",
                     KV_PROPERTY_EDITOR(TKvPageControlVariantPropertyEditor)),
        /* 57 */ Row(Meta<TKvCollection>(), Meta<TKvPageControl>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollPageControlPropertyEditor)),
        /* 58 */ Row("Variant", Variant_, Meta<TKvStatusBarPanel>(), "Value",
                     KV_PROPERTY_EDITOR(TKvStatusBarVariantPropertyEditor)),
        /* 59 */ Row(Meta<TKvCollection>(), Meta<TKvStatusBar>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 60 */ Row("string", String_, Meta<TKvDbLabel>(), "DataField", KV_PROPERTY_EDITOR(TKvDataFieldAggProperty)),
        /* 61 */ Row("string", String_, Meta<TKvDbEdit>(), "DataField", KV_PROPERTY_EDITOR(TKvDataFieldAggProperty)),
        /* 62 */ Row(Meta<TKvCollection>(), Meta<TKvDbComboBox>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 63 */ Row(Meta<TKvCollection>(), Meta<TKvDbListBox>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 64 */ Row(Meta<TKvCollection>(), Meta<TKvDbRadioGroup>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 65 */ Row(Meta<TKvCollection>(), Meta<TKvDbPageControl>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 66 */ Row("string", String_, Meta<TKvDbImage>(), "GraphicClass",
                     KV_PROPERTY_EDITOR(TKvImageGraphicClassProperty)),
        /* 67 */ Row("string", String_, Meta<TKvDbFocusImage>(), "GraphicClass",
                     KV_PROPERTY_EDITOR(TKvImageGraphicClassProperty)),
        /* 68 */ Row("Variant", Variant_, Meta<TKvDbPageControl>(), "Value",
                     KV_PROPERTY_EDITOR(TKvPageControlVariantPropertyEditor)),
        /* 69 */ Row(Meta<TComponent>(), Meta<TKvImageBar>(), "Image", KV_PROPERTY_EDITOR(TKvImageBarImagePropertyEditor)),
        /* 70 */ Row(Meta<TKvCollection>(), Meta<TKvSetsGroup>(), AnyProperty,
                     KV_PROPERTY_EDITOR(TKvCollectionPropertyEditor)),
        /* 71 */ Row("Variant", Variant_, Meta<TKvLBSetsColor>(), "Value",
                     KV_PROPERTY_EDITOR(TKvListBoxVariantPropertyEditor)),
        /* 72 */ Row("Variant", Variant_, Meta<TKvCBSetsColor>(), "Value",
                     KV_PROPERTY_EDITOR(TKvEditVariantPropertyEditor)),
        /* 73 */ Row("Variant", Variant_, Meta<TKvLBSetsBackGround>(), "Value",
                     KV_PROPERTY_EDITOR(TKvListBoxVariantPropertyEditor)),
        /* 74 */ Row("Variant", Variant_, Meta<TKvCBSetsBackGround>(), "Value",
                     KV_PROPERTY_EDITOR(TKvEditVariantPropertyEditor)),
        /* 75 */ Row("Variant", Variant_, Meta<TKvLBSetsFont>(), "Value",
                     KV_PROPERTY_EDITOR(TKvListBoxVariantPropertyEditor)),
        /* 76 */ Row("Variant", Variant_, Meta<TKvCBSetsFont>(), "Value",
                     KV_PROPERTY_EDITOR(TKvEditVariantPropertyEditor)),
        /* 77 */ Row("Variant", Variant_, Meta<TKvLBPkgImages>(), "Value",
                     KV_PROPERTY_EDITOR(TKvListBoxVariantPropertyEditor)),
        /* 78 */ Row("Variant", Variant_, Meta<TKvCBPkgImages>(), "Value",
                     KV_PROPERTY_EDITOR(TKvEditVariantPropertyEditor)),
        /* 79 */ Row("Variant", Variant_, Meta<TKvLBColors>(), "Value",
                     KV_PROPERTY_EDITOR(TKvListBoxVariantPropertyEditor)),
        /* 80 */ Row("Variant", Variant_, Meta<TKvCBColors>(), "Value", KV_PROPERTY_EDITOR(TKvEditVariantPropertyEditor)),
        /* 81 */ Row(Meta<TWinControl>(), Meta<TKvUpDown>(), "Associate",
                     KV_PROPERTY_EDITOR(TKvUpDownAssociatePropertyEditor)),
        /* 82 */ Row("Variant", Variant_, Meta<TKvFontComboBox>(), "Value",
                     KV_PROPERTY_EDITOR(TKvEditVariantPropertyEditor)),
    };
}

QList<TKvComponentEditorRow> MakeComponentEditorRows()
{
    return {
        {Meta<TKvCApplication>(), KV_COMPONENT_EDITOR(TKvCApplicationComponentEditor)},
        {Meta<TKvMainMenu>(), KV_COMPONENT_EDITOR(TKvMainMenuComponentEditor)},
        {Meta<TKvPopupMenu>(), KV_COMPONENT_EDITOR(TKvPopupMenuComponentEditor)},
        {Meta<TKvPanelMenu>(), KV_COMPONENT_EDITOR(TKvPanelMenuComponentEditor)},
        {Meta<TKvPkgImages>(), KV_COMPONENT_EDITOR(TKvPkgImagesComponentEditor)},
        {Meta<TKvPkgStrings>(), KV_COMPONENT_EDITOR(TKvPkgStringsComponentEditor)},
        {Meta<TKvPkgVars>(), KV_COMPONENT_EDITOR(TKvPkgVarsComponentEditor)},
        {Meta<TKvPageControl>(), KV_COMPONENT_EDITOR(TKvPageControlComponentEditor)},
        {Meta<TKvOutLookBar>(), KV_COMPONENT_EDITOR(TKvOutLookBarComponentEditor)},
        {Meta<TKvOutLookBarPage>(), KV_COMPONENT_EDITOR(TKvOutLookBarPageComponentEditor)},
    };
}

QList<TKvPalettePage> MakePalettePages()
{
    return {
        {QStringLiteral("Kv Standard"),
         {Meta<TKvCApplication>(), Meta<TKvCForm>(), Meta<TKvMainMenu>(), Meta<TKvPopupMenu>(), Meta<TKvLabel>(),
          Meta<TKvEdit>(), Meta<TKvComboBox>(), Meta<TKvListBox>(), Meta<TKvMemo>(), Meta<TKvRichEdit>(),
          Meta<TKvImage>(), Meta<TKvFocusImage>(), Meta<TKvCheckBox>(), Meta<TKvRadioButton>(), Meta<TKvGroupBox>(),
          Meta<TKvRadioGroup>(), Meta<TKvPanel>(), Meta<TKvScrollBox>(), Meta<TKvPageControl>(), Meta<TKvBitBtn>(),
          Meta<TKvSpeedButton>(), Meta<TKvPkgImage>(), Meta<TKvShape>(), Meta<TKvUpDown>(), Meta<TKvUpDownEx>()}},
        {QStringLiteral("Kv Additional"),
         {Meta<TKvPkgImages>(), Meta<TKvPkgStrings>(), Meta<TKvPkgVars>(), Meta<TKvMemoBar>(),
          Meta<TKvRichEditBar>(), Meta<TKvImageBar>(), Meta<TKvStatusBar>(), Meta<TKvSplitter>(),
          Meta<TKvProgressBar>(), Meta<TKvTimer>(), Meta<TKvThreadTimer>(), Meta<TKvImageForm>(),
          Meta<TKvMoveForm>(), Meta<TKvPanelMenu>(), Meta<TKvOutLookBar>(), Meta<TKvPkgPrivileges>(),
          Meta<TKvLBPrivileges>(), Meta<TKvSetsGroup>(), Meta<TKvRuler>(), Meta<TKvCBuffer>(),
          Meta<TKvFontComboBox>(), Meta<TKvFontListBox>(), Meta<TKvExtScrollBar>(), Meta<TKvCFrame>()}},
        {QStringLiteral("Kv Data Controls"),
         {Meta<TKvDbLabel>(), Meta<TKvDbEdit>(), Meta<TKvDbComboBox>(), Meta<TKvDbListBox>(), Meta<TKvDbMemo>(),
          Meta<TKvDbRichEdit>(), Meta<TKvDbImage>(), Meta<TKvDbFocusImage>(), Meta<TKvDbCheckBox>(),
          Meta<TKvDbRadioGroup>(), Meta<TKvDbPageControl>(), Meta<TKvDbNavigator>(), Meta<TKvDbBitBtn>(),
          Meta<TKvDbSpeedButton>(), Meta<TKvDbPkgImage>()}},
        {QStringLiteral("Kv Editors"),
         {Meta<TKvLBSetsColor>(), Meta<TKvCBSetsColor>(), Meta<TKvLBSetsBackGround>(), Meta<TKvCBSetsBackGround>(),
          Meta<TKvLBSetsFont>(), Meta<TKvCBSetsFont>(), Meta<TKvLBPkgImages>(), Meta<TKvCBPkgImages>(),
          Meta<TKvLBColors>(), Meta<TKvCBColors>(), Meta<TKvCBPrinters>(), Meta<TKvPkgImagesAdd>(),
          Meta<TKvPkgImagesDesignRgn>()}},
    };
}

QList<TKvApartRow> MakeApartRows()
{
    const QString NoIcon = QStringLiteral("RegisterNoIcon");
    const QString Streamable = QStringLiteral("RegisterClass");
    const QString Group = QStringLiteral("GroupDescendentsWith");
    return {
        {Meta<TKvMenuItem>(), NoIcon, nullptr},
        {Meta<TKvMenuItem>(), Streamable, nullptr},
        {Meta<TKvMenuItem>(), Group, Meta<TControl>()},
        {Meta<TKvEditBtns>(), Group, Meta<TControl>()},
        {Meta<TKvTabSheet>(), Streamable, nullptr},
        {Meta<TKvOutLookBarPage>(), Streamable, nullptr},
    };
}

void RegisterRows(int First, int Last)
{
    const QList<TKvPropertyEditorRow>& Rows = KvPropertyEditorRows();
    for (int N = First; N <= Last; ++N) {
        const TKvPropertyEditorRow& R = Rows.at(N - 1);
        if (R.TypeClass)
            RegisterPropertyEditor(R.TypeClass, R.ComponentClass, R.PropertyName, R.EditorClass);
        else
            RegisterPropertyEditor(R.Type, R.ComponentClass, R.PropertyName, R.EditorClass);
    }
}

void RegisterEditorOf(const QMetaObject* ComponentClass)
{
    for (const TKvComponentEditorRow& R : KvComponentEditorRows())
        if (R.ComponentClass == ComponentClass)
            RegisterComponentEditor(R.ComponentClass, R.EditorClass);
}

} // namespace

const QList<TKvPalettePage>& KvPalettePages()
{
    static const QList<TKvPalettePage> Pages = MakePalettePages();
    return Pages;
}

const QList<TKvComponentEditorRow>& KvComponentEditorRows()
{
    static const QList<TKvComponentEditorRow> Rows = MakeComponentEditorRows();
    return Rows;
}

const QList<TKvPropertyEditorRow>& KvPropertyEditorRows()
{
    static const QList<TKvPropertyEditorRow> Rows = MakePropertyEditorRows();
    return Rows;
}

const QList<TKvApartRow>& KvRegisteredApart()
{
    static const QList<TKvApartRow> Rows = MakeApartRows();
    return Rows;
}

void Register()
{
    for (const TKvPalettePage& Page : KvPalettePages())
        RegisterComponents(Page.Name, Page.Classes);
    RegisterRows(1, 11);

    RegisterEditorOf(Meta<TKvCApplication>());
    RegisterRows(12, 23);

    RegisterNoIcon({Meta<TKvMenuItem>()});
    RegisterClass(Meta<TKvMenuItem>());

    RegisterEditorOf(Meta<TKvMainMenu>());
    RegisterRows(24, 25);
    RegisterEditorOf(Meta<TKvPopupMenu>());
    RegisterRows(26, 26);
    RegisterEditorOf(Meta<TKvPanelMenu>());
    RegisterRows(27, 28);

    GroupDescendentsWith(Meta<TKvMenuItem>(), Meta<TControl>());

    RegisterRows(29, 30);
    GroupDescendentsWith(Meta<TKvEditBtns>(), Meta<TControl>());

    RegisterRows(31, 49);

    RegisterEditorOf(Meta<TKvPkgImages>());
    RegisterRows(50, 51);
    RegisterEditorOf(Meta<TKvPkgStrings>());
    RegisterRows(52, 53);
    RegisterEditorOf(Meta<TKvPkgVars>());
    RegisterRows(54, 55);

    RegisterClasses({Meta<TKvTabSheet>()});
    RegisterEditorOf(Meta<TKvPageControl>());
    RegisterRows(56, 81);

    RegisterClasses({Meta<TKvOutLookBarPage>()});
    RegisterEditorOf(Meta<TKvOutLookBar>());
    RegisterEditorOf(Meta<TKvOutLookBarPage>());
    RegisterRows(82, 82);
}
