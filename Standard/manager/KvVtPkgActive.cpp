#include "KvVtPkgActive.h"
#include "ui_KvVtPkgActive.h"

#include "Controls.h"
#include "KvApplication.h"
#include "KvForms.h"
#include "KvPkgImages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QTimer>

#include <algorithm>

bool KvComponentTypeOf(const TComponent* Component, TKvComponentType& Type)
{
    if (qobject_cast<const TKvPkgStrings*>(Component))
        Type = ctPkgStrings;
    else if (qobject_cast<const TKvPkgImages*>(Component))
        Type = ctPkgImages;
    else if (qobject_cast<const TKvPkgVars*>(Component))
        Type = ctPkgVars;
    else if (qobject_cast<const TKvCApplication*>(Component))
        Type = ctApplications;
    else
        return false;
    return true;
}

namespace {

QString IndexSuffix(int Index) { return QStringLiteral("%1").arg(Index, 5, 10, QLatin1Char('0')); }

template <class T>
QList<TKvPkgActiveEntry> PackageEntries(const QList<T*>& All)
{
    QList<TKvPkgActiveEntry> entries;
    entries.reserve(All.size());
    for (int i = 0; i < All.size(); ++i)
        entries.append({All[i]->PkgName() + IndexSuffix(i), All[i]});
    return entries;
}

QString OwnerName(const TComponent* Object)
{
    const TComponent* owner = Object->Owner();
    return qobject_cast<const TCustomForm*>(owner) ? owner->GetName() : QStringLiteral("nil");
}

} // namespace

QList<TKvPkgActiveEntry> KvPkgActiveEntries(TKvComponentType Type)
{
    QList<TKvPkgActiveEntry> entries;
    switch (Type) {
    case ctPkgStrings:
        entries = PackageEntries(KvPkgStringsAll());
        break;
    case ctPkgImages:
        entries = PackageEntries(KvPkgImagesAll());
        break;
    case ctPkgVars:
        entries = PackageEntries(KvPkgVarsAll());
        break;
    case ctApplications: {
        const QList<TKvCApplicationEntry> all = KvCApplicationsAll();
        for (int i = 0; i < all.size(); ++i)
            entries.append({all[i].Application->GetName() + IndexSuffix(i), all[i].Application});
        // Applications keep the order in which they were created.
        return entries;
    }
    }
    // As a sorted list box compares: without regard to case.
    std::stable_sort(entries.begin(), entries.end(), [](const TKvPkgActiveEntry& a, const TKvPkgActiveEntry& b) {
        return a.Key.compare(b.Key, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

QString KvPkgActiveItemText(TKvComponentType Type, const TComponent* Object)
{
    if (!Object)
        return QString();
    if (Type == ctApplications)
        return Object->GetName().trimmed() + QStringLiteral(" (") + OwnerName(Object) + QLatin1Char(')');
    const auto* pkg = qobject_cast<const TKvPkgInfo*>(Object);
    return (pkg ? pkg->PkgName().trimmed() : QString()) + QStringLiteral(" (") + OwnerName(Object) + QLatin1Char('.')
           + Object->GetName() + QLatin1Char(')');
}

void TKvPkgActiveModel::SetEntries(TKvComponentType Type, QList<TKvPkgActiveEntry> Entries)
{
    beginResetModel();
    FType = Type;
    FEntries = std::move(Entries);
    FShared.clear();
    QSet<QString> seen;
    for (const TKvPkgActiveEntry& e : std::as_const(FEntries))
        if (const auto* pkg = qobject_cast<const TKvPkgInfo*>(e.Object.data())) {
            const QString name = pkg->PkgName().trimmed().toCaseFolded();
            if (seen.contains(name))
                FShared.insert(name);
            seen.insert(name);
        }
    endResetModel();
}

TComponent* TKvPkgActiveModel::Object(int Row) const
{
    return Row >= 0 && Row < FEntries.size() ? FEntries[Row].Object.data() : nullptr;
}

int TKvPkgActiveModel::RowOf(const TComponent* Object) const
{
    if (!Object)
        return -1;
    for (int i = 0; i < FEntries.size(); ++i)
        if (FEntries[i].Object == Object)
            return i;
    return -1;
}

int TKvPkgActiveModel::rowCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : int(FEntries.size()); }

QVariant TKvPkgActiveModel::data(const QModelIndex& Index, int Role) const
{
    if (!Index.isValid() || Index.row() >= FEntries.size())
        return {};
    const TKvPkgActiveEntry& e = FEntries[Index.row()];
    switch (Role) {
    case Qt::DisplayRole:
        return KvPkgActiveItemText(FType, e.Object);
    case Qt::ToolTipRole:
        return e.Key;
    case ObjectRole:
        return QVariant::fromValue<QObject*>(e.Object.data());
    case ActiveRole:
        // Only among packages sharing a name does being the active one tell something.
        if (const auto* pkg = qobject_cast<const TKvPkgInfo*>(e.Object.data()))
            return pkg->Active() && FShared.contains(pkg->PkgName().trimmed().toCaseFolded());
        return e.Object && KvCApp() == e.Object;
    default:
        return {};
    }
}

void TKvPkgActiveDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    QStyleOptionViewItem opt = Option;
    initStyleOption(&opt, Index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, Painter, widget);

    Painter->save();
    // The active one in bold, so that making one active shows.
    if (Index.data(TKvPkgActiveModel::ActiveRole).toBool()) {
        QFont bold = opt.font;
        bold.setBold(true);
        Painter->setFont(bold);
        opt.fontMetrics = QFontMetrics(bold);
    }
    const bool selected = opt.state & QStyle::State_Selected;
    Painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect r = opt.rect.adjusted(2, 0, -2, 0);
    Painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      opt.fontMetrics.elidedText(text, Qt::ElideRight, r.width()));
    Painter->restore();
}

QSize TKvPkgActiveDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex&) const
{
    // One fixed height, raised to the font's when that is taller.
    return {Option.rect.width(), std::max(16, Option.fontMetrics.height() + 2)};
}

TFrPkgActive::TFrPkgActive(QWidget* parent)
    : TDesignWindow(parent), ui(std::make_unique<Ui::TFrPkgActive>()), FModel(new TKvPkgActiveModel(this))
{
    ui->setupUi(this);
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    ui->ListBox1->setModel(FModel);
    ui->ListBox1->setItemDelegate(new TKvPkgActiveDelegate(ui->ListBox1));
    ui->ListBox1->addAction(ui->Active1);
    connect(ui->Active1, &QAction::triggered, this, &TFrPkgActive::Activate);
    connect(ui->ListBox1, &QAbstractItemView::doubleClicked, this, &TFrPkgActive::Activate);
    connect(ui->ListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFrPkgActive::UpdateInfo);
    FWndProcOld = connect(KvMasterHub(), &TKvMasterHub::MasterMessage, this, &TFrPkgActive::MasterMessage);
}

TFrPkgActive::~TFrPkgActive() { disconnect(FWndProcOld); }

TComponent* TFrPkgActive::Current() const { return FModel->Object(ui->ListBox1->currentIndex().row()); }

void TFrPkgActive::Execute(TComponent* Component)
{
    if (!KvComponentTypeOf(Component, FType))
        return;
    static const char* const Captions[] = {"View PkgStrings", "View PkgImages", "View PkgVars", "View Applications"};
    setWindowTitle(QString::fromLatin1(Captions[FType]));
    if (!parentWidget()) {
        // Beside the host's main window, on top of it rather than of the desktop.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(w) && w != this) {
                setParent(w, windowFlags() | Qt::Window);
                break;
            }
    }
    UpdateListBox(Component);
    if (!FPlaced) {
        FPlaced = true;
        // Over the form designer, not in a corner of the screen.
        if (const QWidget* Main = parentWidget() ? parentWidget()->window() : nullptr) {
            QRect Frame = geometry();
            Frame.moveCenter(Main->geometry().center());
            setGeometry(Frame);
        }
    }
    show();
    raise();
    activateWindow();
}

void TFrPkgActive::UpdateListBox(TComponent* Selected)
{
    FModel->SetEntries(FType, KvPkgActiveEntries(FType));
    const int row = FModel->RowOf(Selected);
    if (row >= 0)
        ui->ListBox1->setCurrentIndex(FModel->index(row));
    UpdateInfo();
}

void TFrPkgActive::UpdateInfo() { ui->Active1->setEnabled(Current() != nullptr); }

void TFrPkgActive::Activate()
{
    TComponent* object = Current();
    if (!object)
        return;
    if (auto* pkg = qobject_cast<TKvPkgInfo*>(object))
        pkg->SetActive(true);
    else if (auto* app = qobject_cast<TKvCApplication*>(object))
        app->SetActive();
    UpdateListBox(object);
}

void TFrPkgActive::ItemsModified(IDesigner*) { UpdateListBox(Current()); }

void TFrPkgActive::ItemDeleted(IDesigner*, TPersistent*)
{
    // The item is still on its way out; list again once it is gone.
    QTimer::singleShot(0, this, [this] { UpdateListBox(Current()); });
}

void TFrPkgActive::MasterMessage(int Code, QObject*)
{
    static const int Codes[] = {KvMmPkgStrings, KvMmPkgImages, KvMmPkgVars, KvMmApplications};
    if (Code == Codes[FType])
        UpdateListBox(Current());
}

void TFrPkgActive::keyPressEvent(QKeyEvent* Event)
{
    if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    // Enter does what a double click does.
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
        Activate();
        return;
    }
    TDesignWindow::keyPressEvent(Event);
}

TFrPkgActive* KvShowPkgActive(TComponent* Component)
{
    TKvComponentType type;
    if (!KvComponentTypeOf(Component, type))
        return nullptr;
    auto* window = qobject_cast<TFrPkgActive*>(KvFrPkgActive[type].data());
    if (!window) {
        window = new TFrPkgActive;
        KvFrPkgActive[type] = window;
    }
    window->Execute(Component);
    return window;
}
