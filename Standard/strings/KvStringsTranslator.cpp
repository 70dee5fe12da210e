#include "KvStringsTranslator.h"

#include "KvDesignHooks.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgLanguage.h"
#include "KvPkgStrings.h"
#include "manager/KvVtOpenFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace {

const char* const Nouns[] = {" Labels )", " Messages )", " Texts )"};

template <class F>
void ForEachId(TKvStringsKind Kind, const TKvPkgStrings* Pkg, F&& Take)
{
    if (!Pkg)
        return;
    auto Walk = [&](const auto* List) {
        for (int I = 0; I < List->Count(); ++I)
            Take(List->GetItems(I)->Id());
    };
    switch (Kind) {
    case TKvStringsKind::Labels: Walk(Pkg->Labels()); break;
    case TKvStringsKind::Messages: Walk(Pkg->Messages()); break;
    case TKvStringsKind::Texts: Walk(Pkg->Texts()); break;
    }
}

// Texts folded for the search one UTF-16 unit at a time, the rows and the search alike.
QString FoldUnits(const QString& Text)
{
    QString Result;
    Result.reserve(Text.size());
    for (QChar C : Text)
        Result += C.toCaseFolded();
    return Result;
}

// What the detail memos show: the hint of a label, the text of a message or a text.
QString Detail(TKvStringsKind Kind, const TKvPkgStringsItem* Item)
{
    if (!Item)
        return QString();
    if (Kind == TKvStringsKind::Labels)
        return static_cast<const TKvPkgStringsLabel*>(Item)->Hint();
    return Item->Text();
}

// The file name with its extension replaced by Ext (with its point).
QString WithExtension(const QString& FileName, const QString& Ext)
{
    if (FileName.isEmpty())
        return FileName;
    const QFileInfo Info(FileName);
    return Info.completeBaseName() + Ext;
}

} // namespace

QString KvMemoToText(const QString& Memo)
{
    return Memo.split(QLatin1Char('\n')).join(QStringLiteral("\r\n"));
}

QString KvTextToMemo(const QString& Text)
{
    QString Plain = Text;
    return Plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString KvShortenPath(const QString& Path, const QFontMetrics& Metrics, int Width)
{
    if (Metrics.horizontalAdvance(Path) <= Width)
        return Path;
    const QString Native = QDir::toNativeSeparators(Path);
    const QChar Sep = QDir::separator();
    QStringList Parts = Native.split(Sep);
    if (Parts.size() < 3)
        return Native;
    // The root: a drive ("C:") or the empty part before a leading separator.
    const QString Root = Parts.takeFirst();
    const QString File = Parts.takeLast();
    const QString Dots = Root + Sep + QStringLiteral("...") + Sep;
    while (!Parts.isEmpty()) {
        const QString Candidate = Dots + Parts.join(Sep) + Sep + File;
        if (Metrics.horizontalAdvance(Candidate) <= Width)
            return Candidate;
        Parts.removeFirst();
    }
    return Dots + File;
}

// ---------------------------------------------------------------------------------------------

TKvTranslatorModel::TKvTranslatorModel(TKvStringsKind Kind, QObject* Parent)
    : QAbstractListModel(Parent), FKind(Kind), FFoldTimer(new QTimer(this))
{
    FFoldTimer->setSingleShot(true);
    connect(FFoldTimer, &QTimer::timeout, this, &TKvTranslatorModel::FoldSlice);
}

void TKvTranslatorModel::FoldSlice()
{
    const size_t End = std::min(FAll.size(), FFoldNext + 4096);
    for (; FFoldNext < End; ++FFoldNext)
        Folded(FFoldNext);
    if (FFoldNext < FAll.size())
        FFoldTimer->start(0);
}

void TKvTranslatorModel::SetPackages(const TKvPkgStrings* Source, const TKvPkgStrings* Edited)
{
    FSource = Source;
    FEdited = Edited;
    Rebuild();
}

void TKvTranslatorModel::Rebuild()
{
    std::vector<int> Ids;
    Ids.reserve(size_t(KvStringsCount(FKind, FSource) + KvStringsCount(FKind, FEdited)));
    ForEachId(FKind, FSource, [&Ids](int Id) { Ids.push_back(Id); });
    ForEachId(FKind, FEdited, [&Ids](int Id) { Ids.push_back(Id); });
    std::sort(Ids.begin(), Ids.end());
    Ids.erase(std::unique(Ids.begin(), Ids.end()), Ids.end());
    FAll.clear();
    FAll.reserve(Ids.size());
    for (int Id : Ids)
        FAll.push_back({Id, KvStringsFindId(FKind, FSource, Id), KvStringsFindId(FKind, FEdited, Id)});
    FFolded.assign(FAll.size(), QString()); // null: not folded yet
    FFoldNext = 0;
    FFoldTimer->start(0);
    Count();
    ApplyFilter(false);
}

void TKvTranslatorModel::SetFilter(const QString& Search, bool OnlyUntranslated)
{
    const QString Folded = FoldUnits(Search.trimmed());
    // Typing on narrows what is shown: only the rows shown need a look.
    const bool Narrowing = OnlyUntranslated == FOnlyUntranslated && Folded.startsWith(FSearch);
    FSearch = Folded;
    FOnlyUntranslated = OnlyUntranslated;
    ApplyFilter(Narrowing);
}

const QString& TKvTranslatorModel::Folded(size_t Index) const
{
    QString& Text = FFolded[Index];
    if (Text.isNull()) {
        const TRow& Row = FAll[Index];
        const bool Labels = FKind == TKvStringsKind::Labels;
        auto Hint = [](const TKvPkgStringsItem* Item) { return static_cast<const TKvPkgStringsLabel*>(Item)->Hint(); };
        qsizetype Size = 0;
        for (const TKvPkgStringsItem* Item : {Row.Source, Row.Edited})
            if (Item)
                Size += Item->Text().size() + (Labels ? Hint(Item).size() : 0) + 2;
        Text.reserve(Size);
        auto Fold = [&Text](const QString& Piece) {
            for (QChar C : Piece)
                Text += C.toCaseFolded();
            Text += QChar(0);
        };
        for (const TKvPkgStringsItem* Item : {Row.Source, Row.Edited}) {
            if (!Item)
                continue;
            Fold(Item->Text());
            if (Labels)
                Fold(Hint(Item));
        }
        if (Text.isNull())
            Text = QStringLiteral("");
    }
    return Text;
}

void TKvTranslatorModel::ApplyFilter(bool Narrowing)
{
    beginResetModel();
    std::vector<int> From;
    if (Narrowing) {
        From.swap(FRows);
    } else {
        From.resize(FAll.size());
        for (size_t I = 0; I < FAll.size(); ++I)
            From[I] = int(I);
    }
    if (!FOnlyUntranslated && FSearch.isEmpty()) {
        FRows = std::move(From);
    } else {
        FRows.clear();
        const bool Digits = !FSearch.isEmpty() && FSearch.front().isDigit();
        for (int I : From) {
            const TRow& Row = FAll[size_t(I)];
            if (FOnlyUntranslated && !Untranslated(Row))
                continue;
            if (!FSearch.isEmpty() && !(Digits && QString::number(Row.Id).startsWith(FSearch)) &&
                !Folded(size_t(I)).contains(FSearch))
                continue;
            FRows.push_back(I);
        }
    }
    endResetModel();
}

bool TKvTranslatorModel::Untranslated(const TRow& Row) const
{
    return Row.Source && (!Row.Edited || Row.Edited->Text().trimmed().isEmpty());
}

void TKvTranslatorModel::Count()
{
    FUntranslated = int(std::count_if(FAll.begin(), FAll.end(), [this](const TRow& Row) { return Untranslated(Row); }));
}

int TKvTranslatorModel::rowCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : int(FRows.size());
}

QVariant TKvTranslatorModel::data(const QModelIndex& Index, int Role) const
{
    if (!Index.isValid() || Index.row() >= int(FRows.size()))
        return QVariant();
    if (Role == Qt::DisplayRole)
        return QString::number(Id(Index.row()));
    return QVariant();
}

int TKvTranslatorModel::Id(int Row) const
{
    return Row >= 0 && Row < int(FRows.size()) ? FAll[size_t(FRows[size_t(Row)])].Id : -1;
}

int TKvTranslatorModel::IndexOfId(int Id) const
{
    const auto It = std::lower_bound(FAll.begin(), FAll.end(), Id, [](const TRow& Row, int Value) { return Row.Id < Value; });
    return It != FAll.end() && It->Id == Id ? int(It - FAll.begin()) : -1;
}

int TKvTranslatorModel::RowOfId(int Id) const
{
    const int Index = IndexOfId(Id);
    if (Index < 0)
        return -1;
    // FRows keeps the ascending order of FAll.
    const auto It = std::lower_bound(FRows.begin(), FRows.end(), Index);
    return It != FRows.end() && *It == Index ? int(It - FRows.begin()) : -1;
}

TKvPkgStringsItem* TKvTranslatorModel::SourceItem(int Row) const
{
    return Row >= 0 && Row < int(FRows.size()) ? FAll[size_t(FRows[size_t(Row)])].Source : nullptr;
}

TKvPkgStringsItem* TKvTranslatorModel::EditedItem(int Row) const
{
    return Row >= 0 && Row < int(FRows.size()) ? FAll[size_t(FRows[size_t(Row)])].Edited : nullptr;
}

int TKvTranslatorModel::NextUntranslated(int Row) const
{
    const int N = int(FRows.size());
    for (int Step = 1; Step <= N; ++Step) {
        const int Candidate = ((Row < 0 ? -1 : Row) + Step) % N;
        if (Untranslated(FAll[size_t(FRows[size_t(Candidate)])]))
            return Candidate;
    }
    return -1;
}

void TKvTranslatorModel::ItemChanged(int Id)
{
    const int Index = IndexOfId(Id);
    if (Index >= 0) {
        TRow& Row = FAll[size_t(Index)];
        Row.Source = KvStringsFindId(FKind, FSource, Id);
        Row.Edited = KvStringsFindId(FKind, FEdited, Id);
        FFolded[size_t(Index)] = QString();
    }
    Count();
    const int Shown = RowOfId(Id);
    if (Shown >= 0)
        emit dataChanged(index(Shown), index(Shown));
}

// ---------------------------------------------------------------------------------------------

QSize TKvTranslatorDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex&) const
{
    return QSize(Option.rect.width(), std::max(RowHeight, Option.fontMetrics.height()));
}

void TKvTranslatorDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                                  const QModelIndex& Index) const
{
    const auto* Model = static_cast<const TKvTranslatorModel*>(Index.model());
    const bool Selected = Option.state & QStyle::State_Selected;
    const QPalette& Pal = Option.palette;
    Painter->save();
    Painter->fillRect(Option.rect, Selected ? Pal.highlight() : Pal.base());
    Painter->setPen(Selected ? Pal.highlightedText().color() : Pal.text().color());
    const QFontMetrics& Fm = Option.fontMetrics;
    const QRect R = Option.rect;
    auto Text = [&](int Left, int Right, const QString& Value) {
        QString Line = Value;
        Line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
        Painter->drawText(QRect(Left, R.top(), std::max(0, Right - Left), R.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Fm.elidedText(Line, Qt::ElideRight, Right - Left));
    };
    auto Marker = [&](int Left) {
        const int D = std::max(2, Fm.boundingRect(QLatin1Char('X')).height() / 2);
        Painter->setPen(Qt::NoPen);
        Painter->setBrush(Selected ? Pal.window().color() : QColor(Qt::red));
        Painter->setRenderHint(QPainter::Antialiasing);
        Painter->drawEllipse(QRect(Left, R.top() + D / 2, D, D));
        Painter->setPen(Selected ? Pal.highlightedText().color() : Pal.text().color());
    };
    Painter->drawText(QRect(R.left() + 2, R.top(), R.width(), R.height()), Qt::AlignLeft | Qt::AlignVCenter,
                      Index.data().toString());
    const int LeftStart = R.left() + Fm.horizontalAdvance(QStringLiteral("9999")) + Fm.horizontalAdvance(QStringLiteral("99")) + 2;
    const int LeftEnd = (LeftStart + R.right()) / 2 - Fm.horizontalAdvance(QLatin1Char('9'));
    const int RightStart = LeftEnd + Fm.horizontalAdvance(QStringLiteral("99")) + 2;
    if (const TKvPkgStringsItem* Source = Model->SourceItem(Index.row()))
        Text(LeftStart, LeftEnd, Source->Text());
    else
        Marker(LeftStart);
    if (const TKvPkgStringsItem* Edited = Model->EditedItem(Index.row()))
        Text(RightStart, R.right(), Edited->Text());
    else
        Marker(RightStart);
    Painter->restore();
}

TKvTranslatorListView::TKvTranslatorListView(QWidget* Parent)
    : TKvPkgListView(Parent), FDelegate(new TKvTranslatorDelegate(this))
{
    setItemDelegate(FDelegate);
    FDelegate->RowHeight = std::max(FDelegate->RowHeight, fontMetrics().height() + 2);
}

void TKvTranslatorListView::paintEvent(QPaintEvent* Event)
{
    QListView::paintEvent(Event);
    QPainter P(viewport());
    const int First = fontMetrics().horizontalAdvance(QStringLiteral("99999")) + 2;
    const int Height = viewport()->height();
    KvDrawListRule(P, palette(), First, Height);
    KvDrawListRule(P, palette(), (First + viewport()->width()) / 2, Height);
}

// ---------------------------------------------------------------------------------------------

TKvStringsTranslator::TKvStringsTranslator(TKvStringsKind Kind, QWidget* Parent)
    : TKvKeptBoundsDialog(Parent), FKind(Kind), FModel(new TKvTranslatorModel(Kind, this))
{
    FRowMenu = new QMenu(this);
    FMnAdd = FRowMenu->addAction(QStringLiteral("&Add"));
    FMnModify = FRowMenu->addAction(QStringLiteral("&Modify"));
    FMnDelete = FRowMenu->addAction(QStringLiteral("&Delete"));
    FRowMenu->addSeparator();
    FMnSave = FRowMenu->addAction(QStringLiteral("&Save"));
    FOtherMenu = new QMenu(this);
    FMnSaveOther = FOtherMenu->addAction(QStringLiteral("&Save"));
    FMnAdd->setObjectName(QStringLiteral("MnAdd"));
    FMnModify->setObjectName(QStringLiteral("MnModify"));
    FMnDelete->setObjectName(QStringLiteral("MnDelete"));
    FMnSave->setObjectName(QStringLiteral("MnSave"));
    // The shortcuts work without the menu open too.
    FMnModify->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    FMnSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    for (QAction* Action : {FMnModify, FMnSave})
        Action->setShortcutContext(Qt::WindowShortcut);
    addAction(FMnModify);
    addAction(FMnSave);
    connect(FMnAdd, &QAction::triggered, this, [this] { AddOrModify(false); });
    connect(FMnModify, &QAction::triggered, this, [this] { AddOrModify(true); });
    connect(FMnDelete, &QAction::triggered, this, &TKvStringsTranslator::DeleteItem);
    connect(FMnSave, &QAction::triggered, this, &TKvStringsTranslator::SaveFile);
    connect(FMnSaveOther, &QAction::triggered, this, &TKvStringsTranslator::SaveFile);
}

TKvStringsTranslator::~TKvStringsTranslator() = default;

void TKvStringsTranslator::Bind(const TKvTranslatorControls& Controls)
{
    C = Controls;
    C.List->setModel(FModel);
    // An action rather than the button's shortcut, which would answer only after its animation.
    auto* MnNext = new QAction(this);
    MnNext->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    addAction(MnNext);
    connect(MnNext, &QAction::triggered, this, &TKvStringsTranslator::NextUntranslated);
    connect(C.BtPath, &QToolButton::clicked, this, &TKvStringsTranslator::PickFile);
    connect(C.EdSearch, &QLineEdit::textEdited, this, &TKvStringsTranslator::FilterChanged);
    connect(C.CbUntranslated, &QCheckBox::toggled, this, &TKvStringsTranslator::FilterChanged);
    connect(C.BtNextUntranslated, &QPushButton::clicked, this, &TKvStringsTranslator::NextUntranslated);
    connect(C.List->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& Current) { RowClicked(Current.row()); });
    connect(C.List, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& Index) {
        RowClicked(Index.row());
        AddOrModify(FModel->EditedItem(Index.row()) != nullptr);
    });
    connect(C.List, &QWidget::customContextMenuRequested, this, &TKvStringsTranslator::OpenMenu);
}

int TKvStringsTranslator::Execute()
{
    TKvPkgStrings* Pkg = PkgStrings;
    const TKvPkgLanguage* Lang = Pkg ? qobject_cast<TKvPkgLanguage*>(Pkg->Owner()) : nullptr;
    QString Current;
    QString CurrentPath;
    if (Lang) {
        FPkgLan = std::make_unique<TKvPkgLanguage>();
        // Exactly "System": the library's strings; any other name translates the user's.
        FPkgStr = Pkg->PkgName() == QLatin1String("System") ? FPkgLan->PkgSystem() : FPkgLan->PkgUser();
        FMask = QStringLiteral("*.lan");
        CurrentPath = Lang->FileName();
        Current = WithExtension(CurrentPath, QStringLiteral(".lan"));
    } else {
        FOwnPkgStr = std::make_unique<TKvPkgStrings>();
        FPkgStr = FOwnPkgStr.get();
        const QString Ext = QLatin1Char('.') + (Pkg ? Pkg->DefaultExt() : QStringLiteral("kvstr"));
        FMask = QLatin1Char('*') + Ext;
        CurrentPath = Pkg ? Pkg->FileName() : QString();
        Current = WithExtension(CurrentPath, Ext);
    }
    C.LaTitleRight->setText(QStringLiteral("Current File : ") + Current);
    C.LaTitleRight->setToolTip(CurrentPath);
    IsModify = false;
    FFileNamePkgPath.clear();
    C.LaPath->clear();
    LayoutColumns();
    if (FullPath.trimmed().isEmpty() || !LoadSource()) {
        C.LaTitleLeft->setText(QStringLiteral("Load File : (Unknown)"));
        BuildIds();
        UpdateInfo();
    }
    C.List->setFocus();
    return exec() == QDialog::Accepted ? 1 : 2;
}

bool TKvStringsTranslator::LoadSource()
{
    if (!QFileInfo(FullPath).isFile())
        return false;
    try {
        if (FPkgLan)
            FPkgLan->LoadFromFile(FullPath);
        else
            FPkgStr->LoadFromFile(FullPath);
    } catch (const Exception& E) {
        KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
        return false;
    }
    const QFileInfo Info(FullPath);
    ShowPath();
    C.LaTitleLeft->setText(QStringLiteral("Load File : ") + Info.fileName());
    C.LaTitleLeft->setToolTip(FullPath);
    FFileNamePkgPath = Info.completeBaseName();
    BuildIds();
    UpdateInfo();
    return true;
}

void TKvStringsTranslator::ShowPath()
{
    C.LaPath->setText(FullPath.isEmpty() ? QString() : KvShortenPath(FullPath, C.LaPath->fontMetrics(), C.LaPath->width()));
    C.LaPath->setToolTip(FullPath);
}

void TKvStringsTranslator::PickFile()
{
    TFrOpenFiles Dialog(this);
    Dialog.SetDirectory(KvAppPath());
    Dialog.SetMask(FMask);
    if (Dialog.Execute() != 1)
        return;
    FullPath = Dialog.FileName;
    LoadSource();
}

void TKvStringsTranslator::BuildIds()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int Id = FModel->Id(C.List->CurrentRow());
    FModel->SetPackages(FPkgStr, PkgStrings);
    QApplication::restoreOverrideCursor();
    SelectId(Id);
}

void TKvStringsTranslator::SelectId(int Id)
{
    const int Row = Id >= 0 ? FModel->RowOfId(Id) : -1;
    C.List->SelectRow(Row);
    ShowDetail(Row);
}

QString TKvStringsTranslator::StatusLine() const
{
    const QString Noun = QString::fromLatin1(Nouns[int(FKind)]);
    const TKvPkgStrings* Pkg = PkgStrings;
    QString Line = QStringLiteral("( ") + (FFileNamePkgPath.isEmpty() ? QStringLiteral("Unknown") : FFileNamePkgPath) +
                   QStringLiteral(" : ") + QString::number(KvStringsCount(FKind, FPkgStr)) + Noun;
    const TKvPkgLanguage* Lang = Pkg ? qobject_cast<TKvPkgLanguage*>(Pkg->Owner()) : nullptr;
    const QString File = QFileInfo(Lang ? Lang->FileName() : Pkg ? Pkg->FileName() : QString()).fileName();
    const QString Name = Pkg ? Pkg->PkgName() : QString();
    Line += QStringLiteral("  ( ") + (Name.isEmpty() ? QStringLiteral("Unknown") : Name) + QStringLiteral(" - ") +
            (File.isEmpty() ? QStringLiteral("Unknown") : File) + QStringLiteral(" : ") +
            QString::number(KvStringsCount(FKind, Pkg)) + Noun;
    Line += QStringLiteral("  ( %1 Untranslated )").arg(FModel->UntranslatedCount());
    return Line;
}

void TKvStringsTranslator::UpdateInfo()
{
    C.LaStatus->setText(StatusLine());
    const TKvPkgStrings* Pkg = PkgStrings;
    const TKvPkgLanguage* Lang = Pkg ? qobject_cast<TKvPkgLanguage*>(Pkg->Owner()) : nullptr;
    C.LaStatus->setToolTip(Lang ? Lang->FileName() : Pkg ? Pkg->FileName() : QString());
}

// The titles and memos start after the id column and share the rest.
void TKvStringsTranslator::LayoutColumns()
{
    const int Indent = C.List->fontMetrics().horizontalAdvance(QStringLiteral(" 99999"));
    C.PnTitleIndent->setFixedWidth(Indent);
    C.PnDetailIndent->setFixedWidth(Indent);
}

void TKvStringsTranslator::RowClicked(int Row)
{
    ShowDetail(Row);
    // The shortcuts act on the row selected.
    MenuState();
}

void TKvStringsTranslator::ShowDetail(int Row)
{
    C.EdDetailLeft->setPlainText(Detail(FKind, FModel->SourceItem(Row)));
    C.EdDetailRight->setPlainText(Detail(FKind, FModel->EditedItem(Row)));
}

bool TKvStringsTranslator::IsSavePkg() const
{
    const TKvPkgStrings* Pkg = PkgStrings;
    if (!Pkg)
        return false;
    if (const auto* Lang = qobject_cast<TKvPkgLanguage*>(Pkg->Owner()))
        return Lang->InitMode() == TKvPkgInfo::imFILE && !Lang->FileName().isEmpty();
    return Pkg->InitMode() == TKvPkgInfo::imFILE && !Pkg->FileName().isEmpty();
}

void TKvStringsTranslator::MenuState()
{
    const int Row = C.List->CurrentRow();
    const bool Held = Row >= 0 && FModel->EditedItem(Row);
    FMnModify->setEnabled(Held);
    FMnDelete->setEnabled(Held);
    FMnAdd->setEnabled(!Held);
    FMnSave->setEnabled(IsSavePkg());
    FMnSaveOther->setEnabled(IsSavePkg());
}

void TKvStringsTranslator::OpenMenu(const QPoint& At)
{
    const QModelIndex Index = C.List->indexAt(At);
    const QPoint Global = C.List->viewport()->mapToGlobal(At);
    if (Index.isValid()) {
        C.List->SelectRow(Index.row());
        RowClicked(Index.row());
        MenuState();
        FRowMenu->popup(Global);
    } else {
        MenuState();
        FOtherMenu->popup(Global);
    }
}

void TKvStringsTranslator::Changed()
{
    IsModify = true;
    if (!Memory && PkgStrings)
        KvDesignerModified(PkgStrings);
}

void TKvStringsTranslator::AddOrModify(bool Modify)
{
    MenuState();
    const int Row = C.List->CurrentRow();
    if (!PkgStrings || Row < 0 || !(Modify ? FMnModify : FMnAdd)->isEnabled())
        return;
    const int Id = FModel->Id(Row);
    const TKvPkgStringsItem* Source = FModel->SourceItem(Row);
    const TKvPkgStringsItem* Edited = FModel->EditedItem(Row);
    std::unique_ptr<TKvTranslatorItemDialog> Dialog = CreateItemDialog();
    Dialog->setWindowTitle((Modify ? QStringLiteral("Modify ") : QStringLiteral("Add ")) + KvStringsNoun(FKind, 1));
    Dialog->FPkg = PkgStrings;
    Dialog->FModify = Modify;
    Dialog->SetId(Id);
    const bool Labels = FKind == TKvStringsKind::Labels;
    Dialog->SetSource(Source ? Source->Text() : QString(), Labels ? Detail(FKind, Source) : QString());
    Dialog->SetText(Edited ? Edited->Text() : QString());
    Dialog->SetHint(Labels ? Detail(FKind, Edited) : QString());
    if (Dialog->Execute() != 1)
        return;
    Changed();
    FModel->ItemChanged(Id);
    ShowDetail(FModel->RowOfId(Id));
    UpdateInfo();
}

void TKvStringsTranslator::DeleteItem()
{
    MenuState();
    const int Row = C.List->CurrentRow();
    TKvPkgStringsItem* Edited = FModel->EditedItem(Row);
    if (!PkgStrings || !Edited)
        return;
    const int Id = Edited->Id();
    bool Deleted = false;
    if (DeleteInEditor) {
        Deleted = DeleteInEditor(Id);
    } else if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 26, {KvBtnAccept, KvBtnCancel}, KvBtnAccept) ==
               KvBtnAccept) {
        delete Edited;
        Deleted = true;
    }
    if (!Deleted)
        return;
    Changed();
    if (KvStringsFindId(FKind, FPkgStr, Id)) {
        FModel->ItemChanged(Id);
        ShowDetail(Row);
    } else {
        BuildIds();
        const int Next = std::min(Row, FModel->rowCount() - 1);
        C.List->SelectRow(Next);
        ShowDetail(Next);
    }
    UpdateInfo();
}

void TKvStringsTranslator::SaveFile()
{
    if (!PkgStrings || !IsSavePkg())
        return;
    try {
        if (auto* Lang = qobject_cast<TKvPkgLanguage*>(PkgStrings->Owner()))
            Lang->SaveFile();
        else
            PkgStrings->SaveFile();
    } catch (const Exception& E) {
        KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
    }
}

void TKvStringsTranslator::FilterChanged()
{
    const int Id = FModel->Id(C.List->CurrentRow());
    FModel->SetFilter(C.EdSearch->text(), C.CbUntranslated->isChecked());
    SelectId(Id);
}

void TKvStringsTranslator::NextUntranslated()
{
    const int Row = FModel->NextUntranslated(C.List->CurrentRow());
    if (Row < 0)
        return;
    C.List->SelectRow(Row);
    ShowDetail(Row);
}

void TKvStringsTranslator::resizeEvent(QResizeEvent* Event)
{
    QDialog::resizeEvent(Event);
    LayoutColumns();
    ShowPath();
}
