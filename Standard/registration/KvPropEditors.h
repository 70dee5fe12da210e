#pragma once

#include "DesignEditors.h"

#include <QStringList>

class TKvPkgInfo;
class Variant;

// The property editors of the package, registered by Register (KvReg). Editors whose window
// lives in another folder of the package get their Edit from there; until then Edit does
// nothing beyond the checks it makes first.

// "c:\app\main.lan (FILE)", "(DFM)": a package as the editors show it.
QString KvPackageDisplayText(const TKvPkgInfo* Package);

// The names of modal results 0 to 19 (several values share a name).
const QStringList& KvModalResultNames();
// Frees the table; the next use builds it again.
void KvReleaseModalResultNames();

// ---------------------------------------------------------------------------------------------
// Package properties

// Package objects of the application component: shown by their file and init mode, edited in
// the package's own editor.
class TKvCApplicationPackageProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
};

class TKvCApplicationPkgDisplayProperty : public TKvCApplicationPackageProperty
{
public:
    void Edit() override;
};

class TKvCApplicationPkgLanguageProperty : public TKvCApplicationPackageProperty
{
public:
    void Edit() override;
};

class TKvCApplicationPkgSetupProperty : public TKvCApplicationPackageProperty
{
public:
    void Edit() override;
};

class TKvCApplicationPkgVarsProperty : public TKvCApplicationPackageProperty
{
public:
    void Edit() override;
};

// Shows "(TKvPkgPrivileges)"; Edit goes through the ShowPrivileges hook.
class TKvCApplicationPrivilegesProperty : public TKvCApplicationPackageProperty
{
public:
    QString GetValueAt(int Index) const override;
    void Edit() override;
};

// FileName of a package component: shows the component as a package.
class TKvPkgFileNameProperty : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
};

class TKvPkgImagesFileNameProperty : public TKvPkgFileNameProperty
{
public:
    void Edit() override;
};

class TKvPkgStringsFileNameProperty : public TKvPkgFileNameProperty
{
public:
    void Edit() override;
};

class TKvPkgVarsFileNameProperty : public TKvPkgFileNameProperty
{
public:
    void Edit() override;
};

// A search path: typed, or chosen in the folder dialog.
class TKvDirectoryPropertyEditor : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void Edit() override;
};

// The init mode is shown and listed but changes only through the load/save dialog.
// Shows and lists "DFM" and "FILE", the names the load/save dialog uses.
class TKvPkgInitModeProperty : public TEnumProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) const override;
    void SetValue(const QString& Value) override;
};

class TKvPkgVarsPkgVarsProperty : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void GetValues(const TGetStrProc& Proc) const override;
};

class TKvImagePkgNameProperty : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void GetValues(const TGetStrProc& Proc) const override;
};

// ---------------------------------------------------------------------------------------------
// Reference properties

// A strings or images reference: read-only text, changed through its picker.
class TKvMemoryReferencePropertyEditor : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void Edit() override;

protected:
    // The item's text after "(id, package) "; nothing for images.
    virtual QString ItemText(QObject* Reference) const = 0;
};

class TKvMemoryImagePropertyEditor : public TKvMemoryReferencePropertyEditor
{
public:
    void Edit() override;

protected:
    QString ItemText(QObject* Reference) const override;
};

class TKvMemoryLabelPropertyEditor : public TKvMemoryReferencePropertyEditor
{
public:
    void Edit() override;

protected:
    QString ItemText(QObject* Reference) const override;
};

class TKvMemoryMessagePropertyEditor : public TKvMemoryReferencePropertyEditor
{
public:
    void Edit() override;

protected:
    QString ItemText(QObject* Reference) const override;
};

class TKvMemoryTextPropertyEditor : public TKvMemoryReferencePropertyEditor
{
public:
    void Edit() override;

protected:
    QString ItemText(QObject* Reference) const override;
};

// A set of the display package by name; the name can also be typed.
class TKvSetReferenceProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    bool AllEqual() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
    void Edit() override;
};

class TKvSetFontProperty : public TKvSetReferenceProperty
{
};

class TKvSetBackGroundProperty : public TKvSetReferenceProperty
{
};

class TKvSetColorProperty : public TKvSetReferenceProperty
{
};

// "(3, R/W) - Delete customers"; picked through the ShowPrivilege hook.
class TKvPrivilegeProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    bool AllEqual() const override;
    QString GetValueAt(int Index) const override;
    void Edit() override;
};

// ---------------------------------------------------------------------------------------------
// Variant properties: shown and parsed by the control's data type

// "{NULL}" for null; numbers (data types 0 to 2), text (3) and dates (4) in the runtime's text
// forms; other data types show nothing and store an unassigned value.
QString VariantToString(int DataType, const Variant& Value);
Variant StringToVariant(int DataType, const QString& Text);

class TKvVariantPropertyEditor : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;

protected:
    // The object whose value is edited and its data type (its DataType property).
    virtual QObject* ValueObject(int Index) const;
    int DataTypeAt(int Index) const;
    virtual Variant ValueAt(int Index) const;
};

class TKvEditVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

class TKvLabelVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

class TKvListBoxVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

class TKvRadioGroupVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

class TKvCheckBoxVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

class TKvRadioButtonVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

class TKvUpDownExMaxVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

class TKvUpDownExMinVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

class TKvUpDownExPositionVariantPropertyEditor : public TKvVariantPropertyEditor
{
};

// Works on the one panel the designer has selected; with any other selection it shows nothing
// and ignores what is typed.
class TKvStatusBarVariantPropertyEditor : public TKvVariantPropertyEditor
{
public:
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;

protected:
    QObject* ValueObject(int Index) const override;
    Variant ValueAt(int Index) const override;
};

// Offers the tabs' values ("3 - Orders"); a picked entry keeps its part before the first "-".
class TKvPageControlVariantPropertyEditor : public TKvVariantPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) const override;
    void SetValue(const QString& Value) override;
};

// ---------------------------------------------------------------------------------------------
// Small editors

class TKvModalResultProperty : public TIntegerProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) const override;
    void SetValue(const QString& Value) override;
};

// Pen widths 1 to 20 to pick from; any integer can be typed.
class TKvWideProperty : public TIntegerProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void GetValues(const TGetStrProc& Proc) const override;
};

// Component references that offer only components of the fitting classes of the form.
class TKvClassesComponentProperty : public TComponentProperty
{
public:
    void GetValues(const TGetStrProc& Proc) const override;

protected:
    virtual QStringList OfferedClasses() const = 0;
};

class TKvMainBtnPropertyEditor : public TKvClassesComponentProperty
{
protected:
    QStringList OfferedClasses() const override;
};

class TKvImageBarImagePropertyEditor : public TKvClassesComponentProperty
{
protected:
    QStringList OfferedClasses() const override;
};

class TKvUpDownAssociatePropertyEditor : public TKvClassesComponentProperty
{
protected:
    QStringList OfferedClasses() const override;
};

class TKvImageGraphicClassProperty : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void GetValues(const TGetStrProc& Proc) const override;
};

// A string property offering the names its GetValueList fills in.
class TKvDBStringProperty : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void GetValues(const TGetStrProc& Proc) const override;
    virtual void GetValueList(QStringList& List) const;
};

// The field names of the data set of the component's data source.
class TKvDataFieldAggProperty : public TKvDBStringProperty
{
public:
    virtual QString GetDataSourcePropName() const;
    void GetValueList(QStringList& List) const override;
    QString Unavailable() const override;
};

// The multi-line dialog sets the text it returns on every selected component.
class TKvMultiLinePropertyEditor : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void Edit() override;
};

// Shows the mask's text; the mask editor changes the first selected mask and copies it to the others.
class TKvMaskPropertyEditor : public TClassProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    bool AllEqual() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
    void Edit() override;
};

// Lines of a rich edit, edited in the rich text editor.
class TKvRichEditPropertyEditor : public TClassProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void Edit() override;
};

// Items of a menu component: "(Menu)", edited in the menu editor.
class TKvMenuPropertyEditor : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void Edit() override;
};

class TKvMainMenuPropertyEditor : public TKvMenuPropertyEditor
{
};

class TKvPopupMenuPropertyEditor : public TKvMenuPropertyEditor
{
};

class TKvPanelMenuPropertyEditor : public TKvMenuPropertyEditor
{
};

// The menu item that lists a menu's open windows, by its name in the form.
class TKvWindowsListEditor : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    // The form's menu items the menu accepts as its windows list.
    void GetValues(const TGetStrProc& Proc) const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
};

class TKvMainMenuWindowsListEditor : public TKvWindowsListEditor
{
};

class TKvPanelMenuWindowsListEditor : public TKvWindowsListEditor
{
};

// A collection shown as "(its display text)" and edited in a collection editor window.
class TKvCollectionPropertyEditor : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void Edit() override;
};

// The tabs of a page control: the page-control collection editor.
class TKvCollPageControlPropertyEditor : public TKvCollectionPropertyEditor
{
public:
    void Edit() override;
};
