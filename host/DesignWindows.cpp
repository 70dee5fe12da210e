#include "DesignWindows.h"

#include "DesignNotify.h"
#include "Filer.h"
#include "FormStreams.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

#include <cctype>

namespace {

// The first word of a form text line, and what follows it.
QByteArrayView LeadingWord(QByteArrayView Line, QByteArrayView& Rest)
{
    qsizetype End = 0;
    while (End < Line.size() && (std::isalnum(uchar(Line[End])) || Line[End] == '_'))
        ++End;
    Rest = Line.sliced(End);
    return Line.first(End);
}

bool IsObjectHeader(QByteArrayView Word, QByteArrayView Rest)
{
    // "object Button1: TButton", but not a property that happens to be called Object.
    const bool Keyword = Word.compare("object", Qt::CaseInsensitive) == 0
        || Word.compare("inherited", Qt::CaseInsensitive) == 0 || Word.compare("inline", Qt::CaseInsensitive) == 0;
    return Keyword && !Rest.isEmpty() && (Rest[0] == ' ' || Rest[0] == '\t') && !Rest.trimmed().startsWith('=');
}

// Splits clipboard text into its top-level objects. Collection items (item ... end) nest like
// objects; strings and binary data never start a line with a bare word.
QList<QByteArray> SplitObjects(const QByteArray& Text)
{
    QList<QByteArray> Blocks;
    int Depth = 0;
    qsizetype Start = -1;
    qsizetype Pos = 0;
    while (Pos < Text.size()) {
        qsizetype End = Text.indexOf('\n', Pos);
        End = End < 0 ? Text.size() : End + 1;
        const QByteArrayView Line = QByteArrayView(Text).sliced(Pos, End - Pos).trimmed();
        QByteArrayView Rest;
        const QByteArrayView Word = LeadingWord(Line, Rest);
        const QByteArrayView After = Rest.trimmed();
        if (IsObjectHeader(Word, Rest)) {
            if (Depth++ == 0)
                Start = Pos;
        } else if (Depth > 0 && Word.compare("item", Qt::CaseInsensitive) == 0
                   && (After.isEmpty() || After.startsWith('['))) {
            ++Depth;
        } else if (Depth > 0 && Word.compare("end", Qt::CaseInsensitive) == 0
                   && (After.isEmpty() || After.startsWith('>'))) {
            if (--Depth == 0) {
                Blocks << Text.mid(Start, End - Start);
                Start = -1;
            }
        }
        Pos = End;
    }
    if (Start >= 0)
        Blocks << Text.mid(Start); // unterminated: the conversion reports where
    return Blocks;
}

bool LooksLikeObjectText(const QString& Text)
{
    const QByteArray Head = Text.left(64).trimmed().toUtf8();
    QByteArrayView Rest;
    const QByteArrayView Word = LeadingWord(Head, Rest);
    return IsObjectHeader(Word, Rest);
}

QByteArray ClipboardObjectText()
{
    const QMimeData* Mime = QGuiApplication::clipboard()->mimeData();
    if (!Mime)
        return {};
    if (Mime->hasFormat(QLatin1String(ComponentsMimeType)))
        return Mime->data(QLatin1String(ComponentsMimeType));
    if (Mime->hasText() && LooksLikeObjectText(Mime->text()))
        return Mime->text().toUtf8();
    return {};
}

QString FreeName(const TComponent* Owner, const QString& ClassName)
{
    const QString Base = ClassName.startsWith(u'T') ? ClassName.mid(1) : ClassName;
    for (int N = 1;; ++N) {
        const QString Name = Base + QString::number(N);
        if (!Owner->FindComponent(Name))
            return Name;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TDesignWindow

TDesignNotifier* DesignNotifier()
{
    static TDesignNotifier Notifier;
    return &Notifier;
}

TDesignWindow::TDesignWindow(QWidget* parent) : QWidget(parent)
{
    TDesignNotifier* N = DesignNotifier();
    connect(N, &TDesignNotifier::ItemsModified, this, [this](IDesigner* D) { ItemsModified(D); });
    connect(N, &TDesignNotifier::SelectionChanged, this,
            [this](IDesigner* D, const TDesignerSelectionList& S) { SelectionChanged(D, S); });
    connect(N, &TDesignNotifier::ItemDeleted, this, [this](IDesigner* D, TPersistent* Item) { ItemDeleted(D, Item); });
    connect(N, &TDesignNotifier::DesignerClosed, this, [this](IDesigner* D) { DesignerClosed(D); });
}

TDesignWindow::~TDesignWindow() = default;

void TDesignWindow::ItemsModified(IDesigner*) {}

void TDesignWindow::SelectionChanged(IDesigner*, const TDesignerSelectionList&) {}

void TDesignWindow::ItemDeleted(IDesigner*, TPersistent*) {}

void TDesignWindow::DesignerClosed(IDesigner* ADesigner)
{
    if (!ADesigner || ADesigner != FDesigner)
        return;
    FDesigner = nullptr;
    close();
}

void TDesignWindow::EditAction(TEditAction) {}

TEditState TDesignWindow::GetEditState() const
{
    return {};
}

void TDesignWindow::SetSelection(const TDesignerSelectionList& List)
{
    if (!FDesigner)
        return;
    const QPointer<TDesignWindow> Self(this);
    FSelecting = true;
    try {
        FDesigner->SetSelections(List);
    } catch (...) {
        if (Self)
            FSelecting = false;
        throw;
    }
    if (Self)
        FSelecting = false;
}

// ---------------------------------------------------------------------------------------------
// Clipboard

void CopyComponents(TComponent* Root, const TDesignerSelectionList& Components)
{
    QList<TComponent*> Copied;
    for (TPersistent* Item : Components) {
        auto* Component = qobject_cast<TComponent*>(Item);
        if (!Component || Component == Root || Copied.contains(Component))
            continue;
        bool ParentCopied = false; // it comes with its parent
        for (TComponent* Up = Component->GetParentComponent(); Up && !ParentCopied; Up = Up->GetParentComponent())
            ParentCopied = Components.contains(Up);
        if (!ParentCopied)
            Copied << Component;
    }
    if (Copied.isEmpty())
        return;
    QByteArray Text;
    TWriter Writer;
    for (TComponent* Component : std::as_const(Copied))
        Text += ObjectBinaryToText(Writer.WriteComponent(Component, Root));
    auto* Mime = new QMimeData;
    Mime->setData(QLatin1String(ComponentsMimeType), Text);
    Mime->setText(QString::fromUtf8(Text));
    QGuiApplication::clipboard()->setMimeData(Mime);
}

bool ClipboardComponents()
{
    return !ClipboardObjectText().isEmpty();
}

void PasteComponents(TComponent* Owner, TComponent* Parent, TDesignerSelectionList& Pasted, IDesigner* Designer)
{
    if (!Owner)
        return;
    QByteArray Binary;
    for (const QByteArray& Block : SplitObjects(ClipboardObjectText()))
        Binary += ObjectTextToBinary(Block);
    if (Binary.isEmpty())
        return;
    TReader Reader(Binary);
    Reader.KeepAsWritten = true; // what the copied components held that nobody here knows
    Reader.OnSetName = [Owner, Designer](TComponent* Component, const QString& Name) {
        if (Name.isEmpty())
            return Name;
        const TComponent* Existing = Owner->FindComponent(Name);
        const bool Taken = (Existing && Existing != Component) || Name.compare(Owner->GetName(), Qt::CaseInsensitive) == 0;
        if (!Taken)
            return Name;
        return Designer ? Designer->UniqueName(Component->ClassName()) : FreeName(Owner, Component->ClassName());
    };
    const QList<TComponent*> Read = Reader.ReadComponents(Owner, Parent);
    for (TComponent* Component : Read)
        Pasted << Component;
    if (Designer && !Read.isEmpty())
        Designer->Modified();
}
