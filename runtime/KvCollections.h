#pragma once

#include "Classes.h"
#include "KvReferences.h"
#include "KvTypes.h"
#include "Variants.h"

#include <QPointer>

// The collections of the library's list-like controls and their items.

class TKvCollectionItem;

// A collection owned by a component. It keeps the designer's editor window for it, so that
// reopening the editor brings up the same window; the window goes with the collection.
class TKvCollection : public TCollection
{
    Q_OBJECT

public:
    TKvCollection(const QMetaObject* ItemClass, TPersistent* AOwner);
    ~TKvCollection() override;

    TKvCollectionItem* GetItem(int Index) const;
    // A new item at the end, with the initial values its class gives it.
    TKvCollectionItem* AddItem();

    QObject* EditorWindow() const { return FEditorWindow; }
    void SetEditorWindow(QObject* Value) { FEditorWindow = Value; }
    // What the designer shows between parentheses: "Panels: 3".
    virtual QString DisplayText() const;

private:
    QPointer<QObject> FEditorWindow;
};

// An entry of a list-like control: a value, a caption (a plain text or a label of a strings
// package) and an image.
class TKvCollectionItem : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TKvMemoryLabel* MemoryLabel READ MemoryLabel)
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)

public:
    Q_INVOKABLE explicit TKvCollectionItem(TCollection* Collection = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel; }
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    // The label's text when the label is found, else the caption.
    QString DisplayCaption() const;

    // "Caption" or, without one, the class name without its leading T.
    QString GetDisplayName() const override;
    void SetDisplayName(const QString& Value) override { SetCaption(Value); }
    void Assign(TPersistent* Source) override;

private:
    QString FCaption;
    TKvMemoryLabel* FMemoryLabel;
    TKvMemoryImage* FMemoryImage;
};

// An entry that also carries a value (of the owning control's data type).
class TKvValueItem : public TKvCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(Variant Value READ GetValue WRITE SetValue)

public:
    Q_INVOKABLE explicit TKvValueItem(TCollection* Collection = nullptr);

    Variant GetValue() const { return FValue; }
    void SetValue(const Variant& Value);
    // "Value - Caption" when both are set.
    QString GetDisplayName() const override;
    void Assign(TPersistent* Source) override;

private:
    Variant FValue;
};

// The entries of combo boxes, list boxes and radio groups.
class TKvListItem : public TKvValueItem
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvListItem(TCollection* Collection = nullptr);
};

class TKvListItems : public TKvCollection
{
    Q_OBJECT

public:
    explicit TKvListItems(TPersistent* AOwner);
    TKvListItem* Items(int Index) const;
    // The first entry holding Value, or -1.
    int IndexOfValue(const Variant& Value) const;
};

// A tab of a page control. It shows the tab sheet whose page id it holds (0: none).
class TKvTabControl : public TKvValueItem
{
    Q_OBJECT
    Q_PROPERTY(QString Description READ GetDescription WRITE SetDescription)
    Q_PROPERTY(int PageId READ PageId WRITE SetPageId)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    Q_INVOKABLE explicit TKvTabControl(TCollection* Collection = nullptr);

    QString GetDescription() const { return FDescription; }
    void SetDescription(const QString& Value);
    int PageId() const { return FPageId; }
    // Negative ids raise EConvertError.
    void SetPageId(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Assign(TPersistent* Source) override;

private:
    QString FDescription;
    int FPageId = 0;
    bool FVisible = true;
};

class TKvTabsControl : public TKvCollection
{
    Q_OBJECT

public:
    explicit TKvTabsControl(TPersistent* AOwner);
    TKvTabControl* Items(int Index) const;
    TKvTabControl* FindPageId(int PageId) const;
};

// A panel of a status bar; its value is shown formatted by its data type.
class TKvStatusBarPanel : public TKvValueItem
{
    Q_OBJECT
    Q_PROPERTY(KvTypes::TKvDataType DataType READ GetDataType WRITE SetDataType)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(KvTypes::TKvAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    Q_INVOKABLE explicit TKvStatusBarPanel(TCollection* Collection = nullptr);

    TKvDataType GetDataType() const { return FDataType; }
    void SetDataType(TKvDataType Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    KvTypes::TKvAlignment Alignment() const { return FAlignment; }
    void SetAlignment(KvTypes::TKvAlignment Value);
    void Assign(TPersistent* Source) override;

private:
    TKvDataType FDataType = KvTypes::dtString;
    int FWidth = 50;
    KvTypes::TKvAlignment FAlignment = KvTypes::taLeftJustify;
};

class TKvStatusBarPanels : public TKvCollection
{
    Q_OBJECT

public:
    explicit TKvStatusBarPanels(TPersistent* AOwner);
    TKvStatusBarPanel* Items(int Index) const;
};

// A data source a form works with, with the name its code knows it by.
class TKvDataSourceItem : public TKvCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDataSourceItem(TCollection* Collection = nullptr);

    // Cleared when the component is destroyed.
    TComponent* DataSource() const { return FDataSource; }
    void SetDataSource(TComponent* Value);
    QString GetDisplayName() const override;
    void Assign(TPersistent* Source) override;

private:
    QPointer<TComponent> FDataSource;
};

class TKvDataSources : public TKvCollection
{
    Q_OBJECT

public:
    explicit TKvDataSources(TPersistent* AOwner);
};

// A row of a sets group: the colour, font and background sets it applies.
class TKvSetsGroupItem : public TKvCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(TKvSetColor* SetColor READ SetColor)
    Q_PROPERTY(TKvSetFont* SetFont READ SetFont)
    Q_PROPERTY(TKvSetBackGround* SetBackGround READ SetBackGround)

public:
    Q_INVOKABLE explicit TKvSetsGroupItem(TCollection* Collection = nullptr);

    TKvSetColor* SetColor() const { return FSetColor; }
    TKvSetFont* SetFont() const { return FSetFont; }
    TKvSetBackGround* SetBackGround() const { return FSetBackGround; }
    void Assign(TPersistent* Source) override;

private:
    TKvSetColor* FSetColor;
    TKvSetFont* FSetFont;
    TKvSetBackGround* FSetBackGround;
};

class TKvSetsGroupItems : public TKvCollection
{
    Q_OBJECT

public:
    explicit TKvSetsGroupItems(TPersistent* AOwner);
};

// A command of a data button, run on a data source (the button's own when none is given).
class TKvDbCommandItem : public TKvCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(KvTypes::TKvDbAction Action READ Action WRITE SetAction)
    Q_PROPERTY(TComponent* DataSource READ DataSource WRITE SetDataSource)

public:
    Q_INVOKABLE explicit TKvDbCommandItem(TCollection* Collection = nullptr);

    KvTypes::TKvDbAction Action() const { return FAction; }
    void SetAction(KvTypes::TKvDbAction Value);
    TComponent* DataSource() const { return FDataSource; }
    void SetDataSource(TComponent* Value);
    QString GetDisplayName() const override;
    void Assign(TPersistent* Source) override;

private:
    KvTypes::TKvDbAction FAction = KvTypes::dbaNone;
    QPointer<TComponent> FDataSource;
};

class TKvDbCommands : public TKvCollection
{
    Q_OBJECT

public:
    explicit TKvDbCommands(TPersistent* AOwner);
};
