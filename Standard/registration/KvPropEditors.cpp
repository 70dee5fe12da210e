#include "KvPropEditors.h"

#include "DB.h"

#include "KvCtrlsReg.h"
#include "KvRegClasses.h"
#include "KvCollections.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvPackages.h"
#include "KvPkgImages.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"
#include "KvGraphics.h"
#include "KvUtils.h"
#include "controls/KvVtMask.h"
#include "controls/KvVtCollection.h"
#include "controls/KvVtMenus.h"
#include "controls/KvVtMultiLine.h"
#include "controls/KvVtRichEdit.h"
#include "display/KvVtSetPicker.h"
#include "strings/KvVtMemoryLabel.h"
#include "strings/KvVtMemoryMessage.h"
#include "strings/KvVtMemoryText.h"
#include "images/KvVtMemoryImage.h"
#include "images/KvVtPkgImages.h"
#include "display/KvVtDisplay.h"
#include "strings/KvVtPkgStrings.h"
#include "vars/KvVtPkgVars.h"
#include "setup/KvVtLanguage.h"
#include "setup/KvVtSetup.h"
#include "Variants.h"

#include <QApplication>

#include <memory>

namespace {

const QString AppNotFound = QStringLiteral("Component TKvCApplication not found");

TKvCApplication* RequireApp()
{
    TKvCApplication* App = KvCApp();
    if (!App)
        KvExcept(AppNotFound);
    return App;
}

std::unique_ptr<QStringList> ModalResultNames;

} // namespace

QString KvPackageDisplayText(const TKvPkgInfo* Package)
{
    if (!Package)
        return QString();
    QString Text = Package->FileName();
    if (!Text.isEmpty())
        Text += QLatin1Char(' ');
    return Text + (Package->InitMode() == TKvPkgInfo::imFILE ? QStringLiteral("(FILE)") : QStringLiteral("(DFM)"));
}

const QStringList& KvModalResultNames()
{
    if (!ModalResultNames)
        ModalResultNames = std::make_unique<QStringList>(QStringList{
            QStringLiteral("mrNone"), QStringLiteral("mrOk"), QStringLiteral("mrCancel"), QStringLiteral("mrAbort"),
            QStringLiteral("mrRetry"), QStringLiteral("mrIgnore"), QStringLiteral("mrYes"), QStringLiteral("mrNo"),
            QStringLiteral("mrClose"), QStringLiteral("mrHelp"), QStringLiteral("mrTryAgain"),
            QStringLiteral("mrContinue"), QStringLiteral("mrAll"), QStringLiteral("mrNoToAll"),
            QStringLiteral("mrYesToAll"), QStringLiteral("mrCommit"), QStringLiteral("mrRollBack"),
            QStringLiteral("mrHelp"), QStringLiteral("mrDetail"), QStringLiteral("mrClose")});
    return *ModalResultNames;
}

void KvReleaseModalResultNames()
{
    ModalResultNames.reset();
}

// ---------------------------------------------------------------------------------------------
// Package properties

TPropertyAttributes TKvCApplicationPackageProperty::GetAttributes() const
{
    return paDialog | paReadOnly | paRevertable;
}

QString TKvCApplicationPackageProperty::GetValueAt(int Index) const
{
    return KvPackageDisplayText(qobject_cast<TKvPkgInfo*>(GetObjectValueAt(Index)));
}

void TKvCApplicationPkgDisplayProperty::Edit()
{
    KvEditPkgDisplay(qobject_cast<TKvCApplication*>(GetComponent(0)));
}
void TKvCApplicationPkgLanguageProperty::Edit()
{
    KvEditLanguage(qobject_cast<TKvCApplication*>(GetComponent(0)));
}
void TKvCApplicationPkgSetupProperty::Edit()
{
    KvEditSetup(qobject_cast<TKvCApplication*>(GetComponent(0)));
}
void TKvCApplicationPkgVarsProperty::Edit()
{
    KvEditPkgVars(qobject_cast<TKvPkgVars*>(GetObjectValue()));
}

QString TKvCApplicationPrivilegesProperty::GetValueAt(int Index) const
{
    const QObject* Value = GetObjectValueAt(Index);
    return Value ? QStringLiteral("(%1)").arg(QString::fromLatin1(Value->metaObject()->className())) : QString();
}

void TKvCApplicationPrivilegesProperty::Edit()
{
    if (ShowPrivileges)
        ShowPrivileges(qobject_cast<TKvPkgPrivileges*>(GetObjectValue()));
}

TPropertyAttributes TKvPkgFileNameProperty::GetAttributes() const
{
    return paDialog | paReadOnly | paRevertable;
}

QString TKvPkgFileNameProperty::GetValueAt(int Index) const
{
    return KvPackageDisplayText(qobject_cast<TKvPkgInfo*>(GetComponent(Index)));
}

void TKvPkgImagesFileNameProperty::Edit()
{
    KvEditPkgImages(qobject_cast<TKvPkgImages*>(GetComponent(0)));
}
void TKvPkgStringsFileNameProperty::Edit()
{
    KvEditPkgStrings(qobject_cast<TKvPkgStrings*>(GetComponent(0)));
}
void TKvPkgVarsFileNameProperty::Edit()
{
    KvEditPkgVars(qobject_cast<TKvPkgVars*>(GetComponent(0)));
}

TPropertyAttributes TKvDirectoryPropertyEditor::GetAttributes() const
{
    return paDialog | paRevertable;
}

void TKvDirectoryPropertyEditor::Edit()
{
    QString Path = GetValue();
    if (KvFolderDialog(Path, QStringLiteral("Select an Alternative Path for Packages Search:"), true))
        SetValue(Path);
}

TPropertyAttributes TKvPkgInitModeProperty::GetAttributes() const
{
    return paValueList | paReadOnly;
}

QString TKvPkgInitModeProperty::GetValueAt(int Index) const
{
    return GetOrdValueAt(Index) == TKvPkgInfo::imDFM ? QStringLiteral("DFM") : QStringLiteral("FILE");
}

void TKvPkgInitModeProperty::GetValues(const TGetStrProc& Proc) const
{
    Proc(QStringLiteral("DFM"));
    Proc(QStringLiteral("FILE"));
}

void TKvPkgInitModeProperty::SetValue(const QString&) {}

TPropertyAttributes TKvPkgVarsPkgVarsProperty::GetAttributes() const
{
    return paValueList | paMultiSelect | paSortList;
}

void TKvPkgVarsPkgVarsProperty::GetValues(const TGetStrProc& Proc) const
{
    const QStringList Names = KvPkgVarsActives();
    for (const QString& Name : Names)
        Proc(Name);
}

TPropertyAttributes TKvImagePkgNameProperty::GetAttributes() const
{
    return paValueList | paMultiSelect | paRevertable;
}

void TKvImagePkgNameProperty::GetValues(const TGetStrProc& Proc) const
{
    const QStringList Names = KvPkgImagesActives();
    for (const QString& Name : Names)
        Proc(Name);
}

// ---------------------------------------------------------------------------------------------
// Reference properties

// One component at a time: the picker edits the first reference in place.
TPropertyAttributes TKvMemoryReferencePropertyEditor::GetAttributes() const
{
    return (TPropertyEditor::GetAttributes() & ~TPropertyAttributes(paMultiSelect)) | paDialog | paReadOnly;
}

QString TKvMemoryReferencePropertyEditor::GetValueAt(int Index) const
{
    const auto* Reference = qobject_cast<TKvMemoryReference*>(GetObjectValueAt(Index));
    if (!Reference)
        return QString();
    if (Reference->Id() == TKvMemoryReference::IdDefault)
        return QStringLiteral("(Default)");
    if (Reference->Id() < 0)
        return QStringLiteral("(None)");
    const QString Head = QStringLiteral("(%1, %2)").arg(Reference->Id()).arg(Reference->PkgName());
    // Images show no text after the id.
    if (qobject_cast<TKvMemoryImage*>(GetObjectValueAt(Index)))
        return Head;
    return Head + QLatin1Char(' ') + ItemText(GetObjectValueAt(Index));
}

void TKvMemoryReferencePropertyEditor::Edit()
{
    RequireApp();
}

QString TKvMemoryImagePropertyEditor::ItemText(QObject*) const
{
    return QString();
}

namespace {

// Runs the picker on the first selected reference; on OK every selected reference takes it over.
template <class TPicker, class TReference>
void EditReference(TPropertyEditor& Editor, TReference* TPicker::*Field)
{
    RequireApp();
    auto* First = qobject_cast<TReference*>(Editor.GetObjectValue());
    if (!First)
        return;
    const QString OldPkgName = First->PkgName();
    const int OldId = First->Id();
    auto Picker = std::make_unique<TPicker>();
    Picker.get()->*Field = First;
    if (Picker->Execute() != 1)
        return;
    // None or the default stays so whatever package the picker showed: nothing was picked.
    bool Changed = First->Id() != OldId || (OldId >= 0 && First->PkgName() != OldPkgName);
    for (int I = 0; I < Editor.PropCount(); ++I)
        if (auto* Reference = qobject_cast<TReference*>(Editor.GetObjectValueAt(I)); Reference && Reference != First)
            if (Reference->Id() != First->Id() || Reference->PkgName() != First->PkgName()) {
                Reference->Assign(First);
                Changed = true;
            }
    if (Changed && Editor.Designer())
        Editor.Designer()->Modified();
}

} // namespace

void TKvMemoryImagePropertyEditor::Edit()
{
    EditReference(*this, &TFrMemoryImage::FMemoryImage);
}

void TKvMemoryLabelPropertyEditor::Edit()
{
    EditReference(*this, &TFrMemoryLabel::FMemoryLabel);
}

void TKvMemoryMessagePropertyEditor::Edit()
{
    EditReference(*this, &TFrMemoryMessage::FMemoryMessage);
}

void TKvMemoryTextPropertyEditor::Edit()
{
    EditReference(*this, &TFrMemoryText::FMemoryText);
}

QString TKvMemoryLabelPropertyEditor::ItemText(QObject* Reference) const
{
    const auto* Label = qobject_cast<TKvMemoryLabel*>(Reference);
    if (!Label)
        return QString();
    const QString Hint = Label->Hint();
    return Hint.isEmpty() ? Label->Text() : Label->Text() + QStringLiteral(" - ") + Hint;
}

QString TKvMemoryMessagePropertyEditor::ItemText(QObject* Reference) const
{
    const auto* Message = qobject_cast<TKvMemoryMessage*>(Reference);
    return Message ? Message->Text() : QString();
}

QString TKvMemoryTextPropertyEditor::ItemText(QObject* Reference) const
{
    const auto* Text = qobject_cast<TKvMemoryText*>(Reference);
    return Text ? Text->Text() : QString();
}

TPropertyAttributes TKvSetReferenceProperty::GetAttributes() const
{
    return TPropertyEditor::GetAttributes() | paDialog | paMultiSelect;
}

bool TKvSetReferenceProperty::AllEqual() const
{
    for (int I = 1; I < PropCount(); ++I)
        if (GetValueAt(I).compare(GetValueAt(0), Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

QString TKvSetReferenceProperty::GetValueAt(int Index) const
{
    const auto* Set = qobject_cast<TKvSetReference*>(GetObjectValueAt(Index));
    return Set ? Set->Name() : QString();
}

void TKvSetReferenceProperty::SetValue(const QString& Value)
{
    for (int I = 0; I < PropCount(); ++I)
        if (auto* Set = qobject_cast<TKvSetReference*>(GetObjectValueAt(I)))
            Set->SetName(Value);
    if (Designer())
        Designer()->Modified();
}

void TKvSetReferenceProperty::Edit()
{
    RequireApp();
    auto* First = qobject_cast<TKvSetReference*>(GetObjectValue());
    std::unique_ptr<TKvSetPicker> Picker = First ? KvCreateSetPicker(First) : nullptr;
    if (!Picker || Picker->Execute() != 1)
        return;
    for (int I = 0; I < PropCount(); ++I)
        if (auto* Set = qobject_cast<TKvSetReference*>(GetObjectValueAt(I)); Set && Set != First)
            Set->SetName(First->Name());
    if (Designer())
        Designer()->Modified();
}

TPropertyAttributes TKvPrivilegeProperty::GetAttributes() const
{
    return TPropertyEditor::GetAttributes() | paDialog | paMultiSelect | paReadOnly;
}

bool TKvPrivilegeProperty::AllEqual() const
{
    const auto* First = qobject_cast<TKvPrivilege*>(GetObjectValueAt(0));
    for (int I = 1; I < PropCount(); ++I) {
        const auto* Other = qobject_cast<TKvPrivilege*>(GetObjectValueAt(I));
        if (!First || !Other || Other->Id() != First->Id())
            return false;
    }
    return true;
}

QString TKvPrivilegeProperty::GetValueAt(int Index) const
{
    const auto* Privilege = qobject_cast<TKvPrivilege*>(GetObjectValueAt(Index));
    if (!Privilege)
        return QString();
    if (Privilege->Id() < 0)
        return QStringLiteral("(None)");
    static const char* const Access[] = {"N", "R", "R/W"};
    const int A = Privilege->Access();
    QString Text = QStringLiteral("(%1, %2)")
                       .arg(Privilege->Id())
                       .arg(A >= 0 && A <= 2 ? QString::fromLatin1(Access[A]) : QString());
    const std::optional<TKvPrivilegeInfo> Info = Privilege->Info();
    if (Info && !Info->Description.isEmpty())
        Text += QStringLiteral(" - ") + Info->Description;
    return Text;
}

void TKvPrivilegeProperty::Edit()
{
    TKvCApplication* App = RequireApp();
    auto* First = qobject_cast<TKvPrivilege*>(GetObjectValue());
    if (!First || !ShowPrivilege || !ShowPrivilege(App->Privileges(), First))
        return;
    for (int I = 0; I < PropCount(); ++I)
        if (auto* Privilege = qobject_cast<TKvPrivilege*>(GetObjectValueAt(I)))
            Privilege->SetId(First->Id());
    if (Designer())
        Designer()->Modified();
}

// ---------------------------------------------------------------------------------------------
// Variant properties

QString VariantToString(int DataType, const Variant& Value)
{
    if (Value.IsNull())
        return QStringLiteral("{NULL}");
    switch (DataType) {
    case 0:
    case 1:
    case 2: {
        const double Number = Value.AsFloat();
        const QString Text = KvANumericToStr(Number, QStringLiteral(">"), 0, 8);
        // A value with more digits than the mask shows is written exactly, so that taking the
        // shown text back does not change it.
        return KvAStrToNumeric(Text, 8) == Number ? Text : KvCNumericToStr(Number);
    }
    case 3: return Value.AsString();
    case 4: {
        const TKvDateOrder Order = KvActiveDateOrder();
        const double Date = Value.AsDate();
        const QString Text = KvADateTimeToStr(Date, QStringLiteral("dmyhns"), KvDateYearLong, Order);
        return KvAStrToDate(Text, Order) == Date ? Text
                                                 : KvADateTimeToStr(Date, QStringLiteral("dmyhnsz"), KvDateYearLong, Order);
    }
    default: return QString();
    }
}

Variant StringToVariant(int DataType, const QString& Text)
{
    if (Text.compare(QStringLiteral("{NULL}"), Qt::CaseInsensitive) == 0)
        return Variant::Null();
    switch (DataType) {
    case 0:
    case 1:
    case 2:
        // A plain number is taken as written (the exact form shown above); grouped digits or a
        // trailing sign go through the mask's reading.
        try {
            return Variant(KvCStrToNumeric(Text.trimmed()));
        } catch (const EConvertError&) {
            return Variant(KvAStrToNumeric(Text, 8));
        }
    case 3: return Variant(Text);
    case 4: return Variant::FromDate(KvAStrToDate(Text, KvActiveDateOrder()));
    default: return Variant();
    }
}

TPropertyAttributes TKvVariantPropertyEditor::GetAttributes() const
{
    return paRevertable;
}

QObject* TKvVariantPropertyEditor::ValueObject(int Index) const
{
    return GetComponent(Index);
}

int TKvVariantPropertyEditor::DataTypeAt(int Index) const
{
    const QObject* Object = ValueObject(Index);
    const TPropInfo* Info = Object ? GetPropInfo(Object->metaObject(), u"DataType") : nullptr;
    return Info ? int(GetOrdProp(Object, *Info)) : -1;
}

Variant TKvVariantPropertyEditor::ValueAt(int Index) const
{
    return GetVarValueAt(Index);
}

QString TKvVariantPropertyEditor::GetValueAt(int Index) const
{
    return VariantToString(DataTypeAt(Index), ValueAt(Index));
}

void TKvVariantPropertyEditor::SetValue(const QString& Value)
{
    SetVarValue(StringToVariant(DataTypeAt(0), Value));
}

QObject* TKvStatusBarVariantPropertyEditor::ValueObject(int) const
{
    if (!Designer())
        return nullptr;
    const TDesignerSelectionList Selection = Designer()->GetSelections();
    return Selection.size() == 1 ? Selection.first() : nullptr;
}

Variant TKvStatusBarVariantPropertyEditor::ValueAt(int Index) const
{
    const QObject* Panel = ValueObject(Index);
    const TPropInfo* Info = Panel ? GetPropInfo(Panel->metaObject(), u"Value") : nullptr;
    return Info ? Info->Prop.read(Panel).value<Variant>() : Variant();
}

QString TKvStatusBarVariantPropertyEditor::GetValueAt(int Index) const
{
    return ValueObject(Index) ? TKvVariantPropertyEditor::GetValueAt(Index) : QString();
}

void TKvStatusBarVariantPropertyEditor::SetValue(const QString& Value)
{
    if (ValueObject(0))
        TKvVariantPropertyEditor::SetValue(Value);
}

TPropertyAttributes TKvPageControlVariantPropertyEditor::GetAttributes() const
{
    return paValueList | paRevertable;
}

QString TKvPageControlVariantPropertyEditor::GetValueAt(int Index) const
{
    // A stored value the data type cannot show is shown as nothing rather than as an error.
    try {
        return TKvVariantPropertyEditor::GetValueAt(Index);
    } catch (const Exception&) {
        return QString();
    }
}

void TKvPageControlVariantPropertyEditor::GetValues(const TGetStrProc& Proc) const
{
    const QObject* PageControl = GetComponent(0);
    if (!PageControl)
        return;
    for (const TPropInfo& Info : GetPropList(PageControl->metaObject())) {
        if (Info.Kind != TTypeKind::tkClass)
            continue;
        const auto* Tabs = qobject_cast<TKvTabsControl*>(GetObjectProp(PageControl, Info));
        if (!Tabs)
            continue;
        for (int I = 0; I < Tabs->Count(); ++I) {
            const TKvTabControl* Tab = Tabs->Items(I);
            QString Entry = VariantToString(DataTypeAt(0), Tab->GetValue());
            if (!Tab->GetDescription().isEmpty())
                Entry += QStringLiteral(" - ") + Tab->GetDescription();
            Proc(Entry);
        }
        return;
    }
}

void TKvPageControlVariantPropertyEditor::SetValue(const QString& Value)
{
    const qsizetype Dash = Value.indexOf(QLatin1Char('-'));
    TKvVariantPropertyEditor::SetValue((Dash < 0 ? Value : Value.left(Dash)).trimmed());
}

// ---------------------------------------------------------------------------------------------
// Small editors

TPropertyAttributes TKvModalResultProperty::GetAttributes() const
{
    return paValueList | paMultiSelect | paSortList | paRevertable;
}

QString TKvModalResultProperty::GetValueAt(int Index) const
{
    const qint64 Value = GetOrdValueAt(Index);
    const QStringList& Names = KvModalResultNames();
    return Value >= 0 && Value < Names.size() ? Names.at(Value) : QString::number(Value);
}

void TKvModalResultProperty::GetValues(const TGetStrProc& Proc) const
{
    for (const QString& Name : KvModalResultNames())
        Proc(Name);
}

void TKvModalResultProperty::SetValue(const QString& Value)
{
    if (Value.isEmpty()) {
        SetOrdValue(0);
        return;
    }
    const QStringList& Names = KvModalResultNames();
    for (int I = 0; I < Names.size(); ++I)
        if (Names.at(I).compare(Value, Qt::CaseInsensitive) == 0) {
            SetOrdValue(I);
            return;
        }
    TIntegerProperty::SetValue(Value);
}

TPropertyAttributes TKvWideProperty::GetAttributes() const
{
    return paValueList | paMultiSelect | paRevertable;
}

void TKvWideProperty::GetValues(const TGetStrProc& Proc) const
{
    for (int I = 1; I <= 20; ++I)
        Proc(QString::number(I));
}

void TKvClassesComponentProperty::GetValues(const TGetStrProc& Proc) const
{
    if (!Designer())
        return;
    for (const QString& ClassName : OfferedClasses())
        if (const QMetaObject* Class = FindClass(ClassName))
            for (const QString& Name : Designer()->GetComponentNames(Class))
                Proc(Name);
}

QStringList TKvMainBtnPropertyEditor::OfferedClasses() const
{
    return {QStringLiteral("TKvBitBtn"), QStringLiteral("TKvSpeedButton")};
}

QStringList TKvImageBarImagePropertyEditor::OfferedClasses() const
{
    return {QStringLiteral("TKvCustomImage"), QStringLiteral("TKvCustomFocusImage")};
}

QStringList TKvUpDownAssociatePropertyEditor::OfferedClasses() const
{
    return {QStringLiteral("TKvCustomEdit")};
}

TPropertyAttributes TKvImageGraphicClassProperty::GetAttributes() const
{
    return paValueList | paMultiSelect | paSortList | paRevertable;
}

void TKvImageGraphicClassProperty::GetValues(const TGetStrProc& Proc) const
{
    QStringList Formats;
    KvFormatGraphics(Formats);
    for (const QString& Format : std::as_const(Formats))
        Proc(Format);
}

TPropertyAttributes TKvDBStringProperty::GetAttributes() const
{
    return paValueList | paMultiSelect | paSortList;
}

void TKvDBStringProperty::GetValues(const TGetStrProc& Proc) const
{
    QStringList List;
    GetValueList(List);
    for (const QString& Name : std::as_const(List))
        Proc(Name);
}

void TKvDBStringProperty::GetValueList(QStringList&) const {}

QString TKvDataFieldAggProperty::GetDataSourcePropName() const
{
    return QStringLiteral("DataSource");
}

// The list is open only when there is something in it; the name can always be typed.
QString TKvDataFieldAggProperty::Unavailable() const
{
    QStringList Names;
    GetValueList(Names);
    return Names.isEmpty() ? QStringLiteral("No field names: %1 names no data set, or its data set has no fields")
                                 .arg(GetDataSourcePropName())
                           : QString();
}

// The data set's field definitions, then its field objects: a name in both is offered twice.
void TKvDataFieldAggProperty::GetValueList(QStringList& List) const
{
    TPersistent* Component = GetComponent(0);
    const TPropInfo* Info = GetPropInfo(Component->metaObject(), GetDataSourcePropName());
    const auto* Source = Info ? qobject_cast<TDataSource*>(GetObjectProp(Component, *Info)) : nullptr;
    const TDataSet* DataSet = Source ? Source->DataSet() : nullptr;
    if (!DataSet)
        return;
    DataSet->GetFieldNames(List);
    if (DataSet->Fields().Count() > 0) {
        QStringList Names;
        DataSet->Fields().GetFieldNames(Names);
        List << Names;
    }
}

TPropertyAttributes TKvMultiLinePropertyEditor::GetAttributes() const
{
    return TStringProperty::GetAttributes() | paDialog | paAutoUpdate;
}

void TKvMultiLinePropertyEditor::Edit()
{
    const QString Old = GetStrValue();
    TFrMultiLine Window(QApplication::activeWindow());
    const QString New = Window.Execute(QStringLiteral("Property: ") + GetName(), Old);
    if (New != Old || !AllEqual())
        SetStrValue(New);
}

TPropertyAttributes TKvMaskPropertyEditor::GetAttributes() const
{
    return paSubProperties | paDialog | paMultiSelect;
}

bool TKvMaskPropertyEditor::AllEqual() const
{
    for (int I = 1; I < PropCount(); ++I)
        if (GetValueAt(I).compare(GetValueAt(0), Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

QString TKvMaskPropertyEditor::GetValueAt(int Index) const
{
    const auto* Mask = qobject_cast<TKvMask*>(GetObjectValueAt(Index));
    return Mask ? Mask->Text() : QString();
}

void TKvMaskPropertyEditor::SetValue(const QString& Value)
{
    for (int I = 0; I < PropCount(); ++I)
        if (auto* Mask = qobject_cast<TKvMask*>(GetObjectValueAt(I)))
            Mask->SetText(Value);
    if (Designer())
        Designer()->Modified();
}

void TKvMaskPropertyEditor::Edit()
{
    auto* First = qobject_cast<TKvMask*>(GetObjectValue());
    if (!First)
        return;
    // The dialog's change to the first mask and the copies are one step to undo.
    const TDesignerChange Change(Designer(), QStringLiteral("Edit Mask"));
    auto Window = std::make_unique<TFrMask>();
    Window->Mask = First;
    Window->Designer = Designer();
    if (!Window->Execute())
        return;
    for (int I = 0; I < PropCount(); ++I)
        if (auto* Mask = qobject_cast<TKvMask*>(GetObjectValueAt(I)); Mask && Mask != First)
            Mask->Assign(First);
    if (Designer())
        Designer()->Modified();
}

TPropertyAttributes TKvRichEditPropertyEditor::GetAttributes() const
{
    return paDialog | paReadOnly;
}

void TKvRichEditPropertyEditor::Edit()
{
    auto* Rich = qobject_cast<TKvCustomRichEdit*>(GetComponent(0));
    if (!Rich)
        return;
    TFrRichEdit Window(QApplication::activeWindow());
    Window.RichEdit = Rich;
    Window.Designer = Designer();
    Window.Execute();
}

TPropertyAttributes TKvMenuPropertyEditor::GetAttributes() const
{
    return TPropertyEditor::GetAttributes() | paDialog | paReadOnly;
}

QString TKvMenuPropertyEditor::GetValueAt(int) const
{
    return QStringLiteral("(Menu)");
}

void TKvMenuPropertyEditor::Edit()
{
    KvEditMenu(qobject_cast<TComponent*>(GetComponent(0)), Designer());
}

TPropertyAttributes TKvWindowsListEditor::GetAttributes() const
{
    return paValueList | paSortList | paRevertable;
}

void TKvWindowsListEditor::GetValues(const TGetStrProc& Proc) const
{
    TComponent* Root = Designer() ? Designer()->GetRoot() : nullptr;
    if (!Root)
        return;
    const TPersistent* Menu = GetComponent(0);
    auto Accepts = [Menu](const TKvMenuItem* Item) {
        if (const auto* M = qobject_cast<const TKvMenu*>(Menu))
            return M->ValidAssignWindowsList(Item);
        if (const auto* M = qobject_cast<const TKvPanelMenu*>(Menu))
            return M->ValidAssignWindowsList(Item);
        return false;
    };
    for (int I = 0; I < Root->ComponentCount(); ++I)
        if (const auto* Item = qobject_cast<const TKvMenuItem*>(Root->Components(I)); Item && Accepts(Item))
            Proc(Item->GetName());
}

QString TKvWindowsListEditor::GetValueAt(int Index) const
{
    const auto* Item = qobject_cast<TComponent*>(GetObjectValueAt(Index));
    return Item ? Item->GetName() : QString();
}

void TKvWindowsListEditor::SetValue(const QString& Value)
{
    SetObjectValue(Designer() ? Designer()->GetComponent(Value) : nullptr);
}

TPropertyAttributes TKvCollectionPropertyEditor::GetAttributes() const
{
    return TPropertyEditor::GetAttributes() | paDialog | paReadOnly;
}

QString TKvCollectionPropertyEditor::GetValueAt(int Index) const
{
    const QObject* Value = GetObjectValueAt(Index);
    if (!Value)
        return TPropertyEditor::GetValueAt(Index);
    const auto* Collection = qobject_cast<const TKvCollection*>(Value);
    if (Collection && Collection->GetOwner())
        return QStringLiteral("(%1)").arg(Collection->DisplayText());
    return QStringLiteral("(%1)").arg(QString::fromLatin1(Value->metaObject()->className()));
}

void TKvCollectionPropertyEditor::Edit()
{
    KvEditCollection(GetObjectValue<TKvCollection>(), Designer(), false);
}

void TKvCollPageControlPropertyEditor::Edit()
{
    KvEditCollection(GetObjectValue<TKvCollection>(), Designer(), true);
}
