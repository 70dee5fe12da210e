#pragma once

#include "KvStdCtrls.h"

// The "Kv Data Controls": controls bound to a field (DataField) of a data source (DataSource).
// The data source is any component; the one it stands for is resolved when data access is
// connected. A data source is cleared from a control when it is destroyed.

// A label showing a field.
class TKvDbLabel : public TKvCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbLabel(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

// An edit of a field; its data type comes from the field.
class TKvDbEdit : public TKvCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbEdit(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

class TKvDbComboBox : public TKvCustomComboBox
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbComboBox(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

class TKvDbListBox : public TKvCustomItemListBox
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbListBox(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

class TKvDbMemo : public TKvCustomMemo
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbMemo(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

class TKvDbRichEdit : public TKvCustomRichEdit
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbRichEdit(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

class TKvDbImage : public TKvCustomImage
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbImage(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

class TKvDbFocusImage : public TKvCustomFocusImage
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbFocusImage(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

class TKvDbCheckBox : public TKvCustomCheckBox
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbCheckBox(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

class TKvDbRadioGroup : public TKvCustomRadioGroup
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbRadioGroup(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

// The page shown follows a field's value.
class TKvDbPageControl : public TKvCustomPageControl
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbPageControl(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
};

// Buttons that move through a data source and edit it.
class TKvDbNavigator : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(bool ConfirmDelete READ ConfirmDelete WRITE SetConfirmDelete)

public:
    Q_INVOKABLE explicit TKvDbNavigator(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }
    bool ConfirmDelete() const { return FConfirmDelete; }
    void SetConfirmDelete(bool Value) { FConfirmDelete = Value; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
    bool FFlat = false;
    bool FConfirmDelete = true;
};

// A button that runs commands on data sources.
class TKvDbBitBtn : public TKvCustomButton
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(TKvCollection* Commands READ Commands)

public:
    Q_INVOKABLE explicit TKvDbBitBtn(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    ~TKvDbBitBtn() override;
    TKvDbCommands* Commands() const { return FCommands; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
    TKvDbCommands* FCommands = new TKvDbCommands(this);
};

class TKvDbSpeedButton : public TKvCustomSpeedButton
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(TKvCollection* Commands READ Commands)

public:
    Q_INVOKABLE explicit TKvDbSpeedButton(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    ~TKvDbSpeedButton() override;
    TKvDbCommands* Commands() const { return FCommands; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
    TKvDbCommands* FCommands = new TKvDbCommands(this);
};

// An image of an images package whose id is a field's value.
class TKvDbPkgImage : public TKvCustomPkgImage
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)

public:
    Q_INVOKABLE explicit TKvDbPkgImage(TComponent* AOwner = nullptr);

    QString DataField() const { return FDataField; }
    void SetDataField(const QString& Value) { FDataField = Value; }
    TComponent* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(TComponent* Value) { FDataSource.Set(this, Value); }
    // The images package the field's ids refer to.
    QString PkgName() const { return FPkgName; }
    void SetPkgName(const QString& Value) { FPkgName = Value; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FDataField;
    TKvComponentRef<TComponent> FDataSource;
    QString FPkgName;
};
