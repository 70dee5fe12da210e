#pragma once

#include "DesignIntf.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "Variants.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <typeindex>
#include <vector>

class TPropertyEditor;
class TComponentEditor;

// A value the user typed that the property does not accept.
class EPropertyError : public Exception
{
public:
    using Exception::Exception;
};

using TGetStrProc = std::function<void(const QString&)>;
// Sub-property editors are handed over: the receiver owns them.
using TGetPropProc = std::function<void(std::unique_ptr<TPropertyEditor>)>;

// What a registration names: a factory of new, uninitialised editors. Type tells editor classes
// apart, which the inspector needs to show a property of several components in one row only
// when all of them get the same editor. An empty class hides the property.
struct TPropertyEditorClass
{
    std::function<std::unique_ptr<TPropertyEditor>()> Create;
    std::type_index Type = typeid(void);

    explicit operator bool() const { return bool(Create); }
    bool operator==(const TPropertyEditorClass& Other) const { return Type == Other.Type; }
};

struct TComponentEditorClass
{
    std::function<std::unique_ptr<TComponentEditor>(TComponent*, IDesigner*)> Create;
    std::type_index Type = typeid(void);

    explicit operator bool() const { return bool(Create); }
    bool operator==(const TComponentEditorClass& Other) const { return Type == Other.Type; }
};

// Edits one published property of the selected objects (several when the selection is). Created
// by its class's factory, then Initialize gives it the designer, the objects and the property;
// each object keeps its own property information, so that objects of unrelated classes that
// publish the same property are written through their own class.
class TPropertyEditor
{
public:
    TPropertyEditor() = default;
    virtual ~TPropertyEditor() = default;
    TPropertyEditor(const TPropertyEditor&) = delete;
    TPropertyEditor& operator=(const TPropertyEditor&) = delete;

    void Initialize(IDesigner* ADesigner, const QList<TPersistent*>& ASelection, const TPropInfo& APropInfo);

    virtual TPropertyAttributes GetAttributes() const;
    // The text of every selected object is the same.
    virtual bool AllEqual() const;
    // The text of the first selected object.
    virtual QString GetValue() const;
    virtual QString GetValueAt(int Index) const;
    // What the inspector shows: the value when all agree, else nothing.
    QString GetVisualValue() const;
    virtual void GetValues(const TGetStrProc& Proc) const;
    virtual void SetValue(const QString& Value);
    // Double click: a value list moves on to the next value; dialog editors open their dialog.
    virtual void Edit();
    // Why the editor's dialog and value list cannot be offered yet (the window they need is not
    // part of the package); empty when they can. Hosts then offer only typing the value.
    virtual QString Unavailable() const { return QString(); }
    virtual void GetProperties(const TGetPropProc& Proc) const;
    virtual QString GetName() const;

    TPersistent* GetComponent(int Index) const;
    int PropCount() const { return int(FSelection.size()); }
    IDesigner* Designer() const { return FDesigner; }
    const TPropInfo& PropInfo() const { return FPropInfo; }
    const TPropInfo& PropInfoAt(int Index) const;
    void Modified();

    qint64 GetOrdValue() const { return GetOrdValueAt(0); }
    qint64 GetOrdValueAt(int Index) const;
    double GetFloatValue() const { return GetFloatValueAt(0); }
    double GetFloatValueAt(int Index) const;
    QString GetStrValue() const { return GetStrValueAt(0); }
    QString GetStrValueAt(int Index) const;
    Variant GetVarValue() const { return GetVarValueAt(0); }
    Variant GetVarValueAt(int Index) const;
    TMethod GetMethodValue() const { return GetMethodValueAt(0); }
    TMethod GetMethodValueAt(int Index) const;
    QObject* GetObjectValue() const { return GetObjectValueAt(0); }
    QObject* GetObjectValueAt(int Index) const;
    template <class T>
    T* GetObjectValue() const
    {
        return qobject_cast<T*>(GetObjectValue());
    }

    // Each writes every selected object, then marks the designer modified once.
    void SetOrdValue(qint64 Value);
    void SetFloatValue(double Value);
    void SetStrValue(const QString& Value);
    void SetVarValue(const Variant& Value);
    void SetMethodValue(const TMethod& Value);
    void SetObjectValue(QObject* Value);

protected:
    using TWriteProc = std::function<void(QObject* Instance, const TPropInfo& Info, int Index)>;
    // Runs Write for every selected object, then Modified once, also when a later object
    // refused the value after earlier ones took it.
    void WriteEach(const TWriteProc& Write);

private:
    IDesigner* FDesigner = nullptr;
    QList<TPersistent*> FSelection;
    QList<TPropInfo> FPropInfos; // per selected object
    TPropInfo FPropInfo;
};

class TOrdinalProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
};

// A type with named values (colours, charsets, cursors) shows the name and lists the names.
class TIntegerProperty : public TOrdinalProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) const override;
    // Accepts a name, decimal and $ or 0x hexadecimal text within the range of the property's storage.
    void SetValue(const QString& Value) override;
};

class TInt64Property : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
};

// Text uses '.' whatever the locale, as form files do.
class TFloatProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
};

class TStringProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
};

// A component's Name: renaming checks the name through the component, one at a time.
class TComponentNameProperty : public TStringProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    void SetValue(const QString& Value) override;
};

// Values are the enumeration's names in declaration order.
class TEnumProperty : public TOrdinalProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) const override;
    void SetValue(const QString& Value) override;
};

class TBoolProperty : public TOrdinalProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) const override;
    void SetValue(const QString& Value) override;
};

// "[akLeft,akTop]"; each member is a True/False sub-property.
class TSetProperty : public TOrdinalProperty
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
    void GetProperties(const TGetPropProc& Proc) const override;
};

// One member of a set; changing it keeps the other members of each object as they are.
class TSetElementProperty : public TPropertyEditor
{
public:
    TSetElementProperty(const QString& ElementName, qint64 Bit) : FElementName(ElementName), FBit(Bit) {}

    TPropertyAttributes GetAttributes() const override;
    QString GetName() const override { return FElementName; }
    QString GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) const override;
    void SetValue(const QString& Value) override;

private:
    QString FElementName;
    qint64 FBit;
};

// An owned sub-object (a font): read-only "(TFont)", its published properties as sub-properties.
class TClassProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void GetProperties(const TGetPropProc& Proc) const override;
};

// A reference to a component of this form ("Edit1") or of another one ("Form2.Edit1").
class TComponentProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) const override;
    void SetValue(const QString& Value) override;
};

// An event. Its type name (TNotifyEvent unless the class says otherwise with
// Q_CLASSINFO("<event name>", "<type name>")) is what the handler's parameters follow.
class TMethodProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
    // Creates the handler the designer would name (Button1Click, FormCreate) when none is bound,
    // then shows it.
    void Edit() override;

    QString GetEventTypeName() const;
    // The handler name the designer proposes for the first selected object.
    QString GetFormMethodName() const;
    // "OnClick" without its "On".
    QString GetTrimmedEventName() const;
};

// Empty text is Unassigned and "(Null)" is Null; other text keeps the variant's number or
// boolean type when it converts to it, and is a string otherwise.
class TVariantProperty : public TPropertyEditor
{
public:
    TPropertyAttributes GetAttributes() const override;
    QString GetValueAt(int Index) const override;
    void SetValue(const QString& Value) override;
};

template <class T>
TPropertyEditorClass PropertyEditorClass()
{
    return {[] { return std::unique_ptr<TPropertyEditor>(new T); }, typeid(T)};
}

// The editor of the property's kind when nothing is registered; empty for kinds that have none.
TPropertyEditorClass GetDefaultPropertyEditorClass(const TPropInfo& Prop);

// The registered (or default) editor of Prop for the selection, initialised; null when the
// property is hidden.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner* Designer, const QList<TPersistent*>& Selection,
                                                      const TPropInfo& Prop);

// The rows an object inspector shows: an editor per designable property that every selected
// object publishes with the same type and editor class, in the first object's order; with
// several selected, only editors that allow it. Properties without a writer are left out unless
// they hold an object.
std::vector<std::unique_ptr<TPropertyEditor>> GetEditorsForSelection(const QList<TPersistent*>& Selection,
                                                                     IDesigner* Designer);

// Verbs a component's context menu offers in the designer, and what double clicking it does.
class TComponentEditor
{
public:
    TComponentEditor(TComponent* AComponent, IDesigner* ADesigner) : FComponent(AComponent), FDesigner(ADesigner) {}
    virtual ~TComponentEditor() = default;
    TComponentEditor(const TComponentEditor&) = delete;
    TComponentEditor& operator=(const TComponentEditor&) = delete;

    virtual int GetVerbCount() const { return 0; }
    virtual QString GetVerb(int Index) const;
    virtual void ExecuteVerb(int Index);
    // Why a verb cannot run yet; hosts show it disabled with this as its tip. Empty when it can.
    virtual QString VerbUnavailable(int Index) const
    {
        Q_UNUSED(Index);
        return QString();
    }
    // Runs the first verb, when there is one.
    virtual void Edit();
    // Puts extra formats of the component on the clipboard beside the designer's own.
    virtual void Copy() {}

    TComponent* Component() const { return FComponent; }
    IDesigner* GetDesigner() const { return FDesigner; }

private:
    TComponent* FComponent;
    IDesigner* FDesigner;
};

// For components without an editor of their own: double click creates or shows the handler of
// OnCreate, else OnChange, else OnClick, else the first event.
class TDefaultEditor : public TComponentEditor
{
public:
    using TComponentEditor::TComponentEditor;
    void Edit() override;
};

template <class T>
TComponentEditorClass ComponentEditorClass()
{
    return {[](TComponent* Component, IDesigner* Designer) {
                return std::unique_ptr<TComponentEditor>(new T(Component, Designer));
            },
            typeid(T)};
}
