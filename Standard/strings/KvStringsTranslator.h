#pragma once

#include "KvStringsItemDialog.h"
#include "KvStringsList.h"
#include "common/KvPkgDialogs.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QFontMetrics;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TKvPkgLanguage;
class TKvPkgStrings;

// The translators: one list of a strings package beside the same list of a translation source
// file, matched by id. The source is only read; every change goes into the edited package.

// Memos keep lines apart with LF; the package stores them with CR LF, as the item dialogs do.
QString KvMemoToText(const QString& Memo);
QString KvTextToMemo(const QString& Text);

// Path as it fits Width: whole, else its root, "...", and as many of its last folders as fit
// with the file name (leading folders dropped one at a time).
QString KvShortenPath(const QString& Path, const QFontMetrics& Metrics, int Width);

// The rows of a translator: the ids of both packages, ascending, each once; optionally only
// the untranslated ones, or those matching a search. An id is untranslated when the source
// holds it and the edited package lacks it or has it with a blank text.
class TKvTranslatorModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit TKvTranslatorModel(TKvStringsKind Kind, QObject* Parent = nullptr);

    TKvStringsKind Kind() const { return FKind; }
    void SetPackages(const TKvPkgStrings* Source, const TKvPkgStrings* Edited);
    // Collects the ids of both packages again; the filter stays.
    void Rebuild();
    // Search: the rows whose id begins with it or whose source or edited text contains it
    // (case-insensitive); blank shows all.
    void SetFilter(const QString& Search, bool OnlyUntranslated);

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;

    int Id(int Row) const;
    // The row showing Id, or -1.
    int RowOfId(int Id) const;
    TKvPkgStringsItem* SourceItem(int Row) const;
    TKvPkgStringsItem* EditedItem(int Row) const;
    // Over every id, whatever the filter shows.
    int UntranslatedCount() const { return FUntranslated; }
    // The first untranslated row after Row, going round to the top; -1 when there is none.
    int NextUntranslated(int Row) const;
    // After the items of Id changed: repaints its row and counts again.
    void ItemChanged(int Id);

private:
    // One id with its items, so that filtering and painting need no lookups.
    struct TRow
    {
        int Id;
        TKvPkgStringsItem* Source;
        TKvPkgStringsItem* Edited;
    };
    bool Untranslated(const TRow& Row) const;
    // The row's texts case-folded in one string for the search: built in slices while the
    // window is idle after a rebuild, and on demand for the rows not reached yet.
    const QString& Folded(size_t Index) const;
    void FoldSlice();
    void ApplyFilter(bool Narrowing);
    void Count();
    int IndexOfId(int Id) const;

    TKvStringsKind FKind;
    const TKvPkgStrings* FSource = nullptr;
    const TKvPkgStrings* FEdited = nullptr;
    std::vector<TRow> FAll;
    std::vector<int> FRows; // indexes into FAll
    mutable std::vector<QString> FFolded;
    size_t FFoldNext = 0;
    QTimer* FFoldTimer;
    QString FSearch; // case-folded
    bool FOnlyUntranslated = false;
    int FUntranslated = 0;
};

// Draws a row: the id, the source text and the edited text in two columns, a red dot where a
// package lacks the id.
class TKvTranslatorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int RowHeight = 16;
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
};

// The list with the two column rules.
class TKvTranslatorListView : public TKvPkgListView
{
    Q_OBJECT

public:
    explicit TKvTranslatorListView(QWidget* Parent = nullptr);
    TKvTranslatorDelegate* Delegate() const { return FDelegate; }

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    TKvTranslatorDelegate* FDelegate;
};

// The item dialog of a translator: the source's text (and hint) read-only beside the edited
// item's, the id fixed.
class TKvTranslatorItemDialog : public TKvStringsItemDialog
{
    Q_OBJECT

public:
    virtual void SetSource(const QString& Text, const QString& Hint) = 0;

protected:
    using TKvStringsItemDialog::TKvStringsItemDialog;
};

// The controls every translator has; the windows hand theirs over after setupUi.
struct TKvTranslatorControls
{
    QLabel* LaPath = nullptr;
    QToolButton* BtPath = nullptr;
    QWidget* PnTitleIndent = nullptr;
    QLabel* LaTitleLeft = nullptr;
    QLabel* LaTitleRight = nullptr;
    QLineEdit* EdSearch = nullptr;
    QCheckBox* CbUntranslated = nullptr;
    QPushButton* BtNextUntranslated = nullptr;
    TKvTranslatorListView* List = nullptr;
    QWidget* PnDetailIndent = nullptr;
    QPlainTextEdit* EdDetailLeft = nullptr;
    QPlainTextEdit* EdDetailRight = nullptr;
    QLabel* LaStatus = nullptr;

    // The three translator forms name their controls alike.
    template <class TUi>
    static TKvTranslatorControls Of(const TUi& Ui)
    {
        return {Ui.LaPath, Ui.BtPath, Ui.PnTitleIndent, Ui.LaTitleLeft, Ui.LaTitleRight, Ui.EdSearch,
                Ui.CbUntranslated, Ui.BtNextUntranslated, Ui.List, Ui.PnDetailIndent, Ui.EdDetailLeft,
                Ui.EdDetailRight, Ui.LaStatus};
    }
};

class TKvStringsTranslator : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    ~TKvStringsTranslator() override;

    // Set by the editor before Execute; FullPath is read back afterwards with IsModify.
    QPointer<TKvPkgStrings> PkgStrings;
    QString FullPath;
    bool IsModify = false;
    // The editor's memory mode: the designer is told of nothing.
    bool Memory = false;
    // Makes the editor that opened the translator select Id and run its delete, with its own
    // confirmation; true when the item went. Without it the translator asks and deletes itself.
    std::function<bool(int Id)> DeleteInEditor;

    // Shows the translator modally.
    int Execute();

    TKvTranslatorModel* Model() const { return FModel; }
    TKvPkgStrings* Source() const { return FPkgStr; }
    QMenu* RowMenu() const { return FRowMenu; }
    QMenu* OtherMenu() const { return FOtherMenu; }
    QAction* MnAdd() const { return FMnAdd; }
    QAction* MnModify() const { return FMnModify; }
    QAction* MnDelete() const { return FMnDelete; }
    QAction* MnSave() const { return FMnSave; }
    // "( Spanish : 12 Labels )  ( Sales - sales.kvstr : 10 Labels )  ( 2 Untranslated )"
    QString StatusLine() const;

protected:
    TKvStringsTranslator(TKvStringsKind Kind, QWidget* Parent);
    void Bind(const TKvTranslatorControls& Controls);
    virtual std::unique_ptr<TKvTranslatorItemDialog> CreateItemDialog() = 0;

    void resizeEvent(QResizeEvent* Event) override;

private:
    bool LoadSource();
    void PickFile();
    void BuildIds();
    void UpdateInfo();
    void ShowPath();
    void LayoutColumns();
    void RowClicked(int Row);
    void ShowDetail(int Row);
    void MenuState();
    void OpenMenu(const QPoint& At);
    void AddOrModify(bool Modify);
    void DeleteItem();
    void SaveFile();
    bool IsSavePkg() const;
    void Changed();
    void FilterChanged();
    void NextUntranslated();
    void SelectId(int Id);

    TKvStringsKind FKind;
    TKvTranslatorControls C;
    TKvTranslatorModel* FModel;
    std::unique_ptr<TKvPkgLanguage> FPkgLan;
    std::unique_ptr<TKvPkgStrings> FOwnPkgStr;
    TKvPkgStrings* FPkgStr = nullptr;
    QString FFileNamePkgPath;
    QString FMask;
    QMenu* FRowMenu;
    QMenu* FOtherMenu;
    QAction* FMnAdd;
    QAction* FMnModify;
    QAction* FMnDelete;
    QAction* FMnSave;
    QAction* FMnSaveOther;
};
