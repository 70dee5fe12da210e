#include "KvMessages.h"

#include "KvApplication.h"
#include "KvPkgStrings.h"

#include <QApplication>
#include <algorithm>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>

namespace {

TKvMessageHandler& MessageHandler()
{
    static TKvMessageHandler Handler;
    return Handler;
}

// The library's own texts of the "System" messages its editors ask, until a language package
// with "System" strings replaces them.
const QHash<int, QString>& SystemMessages()
{
    static const QHash<int, QString> Texts{
        {2, QStringLiteral("There are no more matches for the search text.")},
        {25, QStringLiteral("Do you want to delete the selected image?")},
        {26, QStringLiteral("Do you want to delete the selected item?")},
        {34, QStringLiteral("Do you want to delete the selected folder with all its folders and variables?")},
        {35, QStringLiteral("Do you want to delete the selected variable?")},
        {36, QStringLiteral("Changing the type of the variable may lose its value. Do you want to continue?")},
        {48, QStringLiteral("All the System and User strings of the language will be erased. Do you want to continue?")},
        {49, QStringLiteral("File '%s' not found.")},
        {50, QStringLiteral("All the images of the package will be erased. Do you want to continue?")},
        {51, QStringLiteral("File '%s' already exists. Do you want to overwrite it?")},
        {56, QStringLiteral("The data that there is in memory will be erased. Do you want to continue?")},
        {57, QStringLiteral("All the items of the menu will be deleted. Do you want to continue?")},
        {58, QStringLiteral("All the labels, messages and texts of the package will be erased. Do you want to continue?")},
        {59, QStringLiteral("All the folders and variables of the package will be erased. Do you want to continue?")},
        {60, QStringLiteral("All the variables of the selected folder will be erased. Do you want to continue?")},
        {61, QStringLiteral("All the colour, font and background sets and the images of the display package will be "
                            "erased. Do you want to continue?")},
        {65, QStringLiteral("All the privileges of the package will be erased. Do you want to continue?")},
        {66, QStringLiteral("The synchronization could not be completed. The files that failed are still listed.")},
        {91, QStringLiteral("Every privilege will get Read/Write access. Do you want to continue?")},
    };
    return Texts;
}

bool IsSystem(const QString& PkgName) { return PkgName.compare(QLatin1String("System"), Qt::CaseInsensitive) == 0; }

// The strings packages that answer for PkgName, in the order they are asked.
QList<const TKvPkgStrings*> StringsFor(const QString& PkgName)
{
    QList<const TKvPkgStrings*> result;
    if (const TKvCApplication* App = KvCApp()) {
        if (IsSystem(PkgName))
            result << App->PkgLanguage()->PkgSystem();
        else if (PkgName.compare(QLatin1String("User"), Qt::CaseInsensitive) == 0)
            result << App->PkgLanguage()->PkgUser();
    }
    if (const TKvPkgStrings* Found = KvFindPkgStrings(PkgName); Found && !result.contains(Found))
        result << Found;
    return result;
}

QString TypeTitle(int MsgType)
{
    switch (MsgType) {
    case KvMsgError: return QStringLiteral("Error");
    case KvMsgNotice: return QStringLiteral("Information");
    default: return QStringLiteral("Confirm");
    }
}

QMessageBox::StandardButton StandardButton(int Kind)
{
    switch (Kind) {
    case KvBtnAccept: return QMessageBox::Ok;
    case KvBtnCancel: return QMessageBox::Cancel;
    case KvBtnYes: return QMessageBox::Yes;
    case KvBtnNo: return QMessageBox::No;
    default: return QMessageBox::NoButton;
    }
}

int ShowMessageBox(const TKvMessageRequest& Request)
{
    QWidget* Parent = QApplication::activeModalWidget();
    if (!Parent)
        Parent = QApplication::activeWindow();
    QMessageBox Box(Parent);
    Box.setWindowTitle(Request.Caption);
    Box.setText(Request.Text);
    Box.setIcon(Request.MsgType == KvMsgError    ? QMessageBox::Critical
                : Request.MsgType == KvMsgNotice ? QMessageBox::Information
                                                 : QMessageBox::Question);
    QHash<QAbstractButton*, int> Kinds;
    for (int Kind : Request.Buttons) {
        QPushButton* Button = Box.addButton(StandardButton(Kind));
        Kinds.insert(Button, Kind);
        if (Kind == Request.Default)
            Box.setDefaultButton(Button);
    }
    // Escape means the most cautious answer offered.
    for (int Kind : {KvBtnCancel, KvBtnNo, KvBtnAccept})
        if (Request.Buttons.contains(Kind)) {
            Box.setEscapeButton(Box.button(StandardButton(Kind)));
            break;
        }
    Box.exec();
    return Kinds.value(Box.clickedButton(), Request.Default);
}

} // namespace

TKvMessageHandler KvSetMessageHandler(TKvMessageHandler Handler)
{
    return std::exchange(MessageHandler(), std::move(Handler));
}

void KvExcept(const QString& Text) { throw EKvError(Text); }

int KvMessage(int MsgType, const QString& Text, const TKvMsgButtons& Buttons, int Default, const QString& Caption)
{
    if (MsgType < KvMsgError || MsgType > KvMsgQuestion)
        throw EInvalidOperation(QStringLiteral("Unknown message type %1").arg(MsgType));
    TKvMessageRequest Request;
    Request.MsgType = MsgType;
    Request.Caption = Caption.isEmpty() ? TypeTitle(MsgType) : Caption;
    Request.Text = Text;
    Request.Buttons = Buttons.isEmpty() ? TKvMsgButtons{KvBtnAccept} : Buttons;
    Request.Default = Default;
    for (int Kind : Request.Buttons)
        if (StandardButton(Kind) == QMessageBox::NoButton || Request.Buttons.count(Kind) > 1)
            throw EInvalidOperation(QStringLiteral("Unknown or repeated button kind %1").arg(Kind));
    if (!Request.Buttons.contains(Default))
        throw EInvalidOperation(QStringLiteral("The default button kind %1 is not offered").arg(Default));

    // A copy: the handler may replace itself while it answers.
    const TKvMessageHandler Handler = MessageHandler();
    if (!Handler)
        return ShowMessageBox(Request);
    const int Answer = Handler(Request);
    if (!Request.Buttons.contains(Answer))
        throw EInvalidOperation(QStringLiteral("Message answered with button kind %1, which it does not offer: %2")
                                    .arg(Answer)
                                    .arg(Text));
    return Answer;
}

int KvMsg(int MsgType, const QString& Text, const TKvMsgButtons& Buttons, int Default)
{
    return KvMessage(MsgType, Text, Buttons, Default);
}

int KvMsgArgs(int MsgType, const QString& Text, const QStringList& Args, const TKvMsgButtons& Buttons, int Default)
{
    return KvMessage(MsgType, KvFormatArgs(Text, Args), Buttons, Default);
}

int KvMsgPkg(int MsgType, const QString& PkgName, int Id, const TKvMsgButtons& Buttons, int Default)
{
    return KvMessage(MsgType, KvPkgMessageText(PkgName, Id), Buttons, Default);
}

int KvMsgPkgArgs(int MsgType, const QString& PkgName, int Id, const QStringList& Args, const TKvMsgButtons& Buttons,
                 int Default)
{
    return KvMessage(MsgType, KvFormatArgs(KvPkgMessageText(PkgName, Id), Args), Buttons, Default);
}

void KvHelp(const QString& PkgName, int Id, const QString& Text)
{
    QString Help = Text;
    if (Help.isEmpty()) {
        for (const TKvPkgStrings* Pkg : StringsFor(PkgName))
            if (const TKvPkgStringsText* Item = Pkg->Texts()->FindId(Id)) {
                Help = Item->Text();
                break;
            }
        if (Help.isEmpty())
            Help = QStringLiteral("There is no help %1 in the strings package \"%2\".").arg(Id).arg(PkgName);
    }
    KvMessage(KvMsgNotice, Help, {KvBtnAccept}, KvBtnAccept, QStringLiteral("Help"));
}

QString KvSystemMessageText(int Id) { return SystemMessages().value(Id); }

QList<int> KvSystemMessageIds()
{
    QList<int> Ids = SystemMessages().keys();
    std::sort(Ids.begin(), Ids.end());
    return Ids;
}

QString KvPkgMessageText(const QString& PkgName, int Id)
{
    for (const TKvPkgStrings* Pkg : StringsFor(PkgName))
        if (const TKvPkgStringsMessage* Item = Pkg->Messages()->FindId(Id))
            return Item->Text();
    if (IsSystem(PkgName)) {
        const QString Text = KvSystemMessageText(Id);
        if (!Text.isEmpty())
            return Text;
    }
    return QStringLiteral("Message %1 of the strings package \"%2\" not found.").arg(Id).arg(PkgName);
}

QString KvFormatArgs(const QString& Text, const QStringList& Args)
{
    QString Result;
    Result.reserve(Text.size());
    int Next = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar C = Text.at(i);
        if (C != u'%' || i + 1 == Text.size()) {
            Result += C;
            continue;
        }
        const QChar Conversion = Text.at(i + 1);
        if (Conversion == u'%') {
            Result += u'%';
            ++i;
        } else if (Conversion == u's' || Conversion == u'd') {
            if (Next >= Args.size())
                throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(Text));
            Result += Args.at(Next++);
            ++i;
        } else {
            Result += C;
        }
    }
    return Result;
}

TKvMessageRecorder::TKvMessageRecorder(QList<int> Answers) : FAnswers(std::move(Answers))
{
    FPrevious = KvSetMessageHandler([this](const TKvMessageRequest& Request) {
        FRequests.append(Request);
        return FAnswers.isEmpty() ? Request.Default : FAnswers.takeFirst();
    });
}

TKvMessageRecorder::~TKvMessageRecorder() { KvSetMessageHandler(std::move(FPrevious)); }
