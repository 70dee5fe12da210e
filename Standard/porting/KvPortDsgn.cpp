#include "KvPortDsgn.h"

#include "Classes.h"
#include "DesignIntf.h"
#include "KvFiles.h"
#include "SysUtils.h"
#include "ToolsAPI.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cstring>
#include <unistd.h>

namespace {

QString ChangeFileExt(const QString& FileName, const QString& Ext)
{
    const QFileInfo info(FileName);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() && !FileName.endsWith(QLatin1Char('.'))
        ? FileName
        : FileName.left(FileName.size() - suffix.size() - 1);
    return base + Ext;
}

IOTAProject* ActiveProject()
{
    if (!BorlandIDEServices)
        return nullptr;
    IOTAModuleServices* services = BorlandIDEServices->ModuleServices();
    KV_ASSERT(services);
    for (int i = 0; i < services->ModuleCount(); ++i)
        if (auto* group = Supports<IOTAProjectGroup>(services->Modules(i)))
            return group->ActiveProject();
    return nullptr;
}

// A form of the open project is read and written only inside the project's folder, links followed.
void CheckInsideProject(const QString& FormFile)
{
    IOTAProject* project = ActiveProject();
    if (!project)
        return;
    const QString folder = QFileInfo(project->FileName()).absolutePath();
    if (KvLinkLeadsOutside(folder, FormFile))
        throw EFilerError(QStringLiteral("Cannot open file \"%1\". A link leads outside the project folder %2")
                              .arg(FormFile, folder));
}

IOTAFormEditor* FindFormEditor(IOTAModule* Module)
{
    IOTAFormEditor* result = nullptr;
    for (int i = 0; i < Module->GetModuleFileCount(); ++i) {
        if (auto* editor = Supports<IOTAFormEditor>(Module->GetModuleFileEditor(i))) {
            KV_ASSERT(!result);
            result = editor;
        }
    }
    return result;
}

// The code editor showing the form as text when there is one, else the unit's.
IOTASourceEditor* FindSourceEditor(IOTAModule* Module)
{
    IOTASourceEditor* first = nullptr;
    for (int i = 0; i < Module->GetModuleFileCount(); ++i) {
        if (auto* editor = Supports<IOTASourceEditor>(Module->GetModuleFileEditor(i))) {
            if (QFileInfo(editor->FileName()).suffix().toUpper() == QLatin1String("DFM"))
                return editor;
            if (!first)
                first = editor;
        }
    }
    return first;
}

// Form text is UTF-8 when it reads as UTF-8, else an old 8-bit form; a byte-order mark is dropped.
bool IsUtf8(const QByteArray& Data)
{
    quint64 any = 0;
    const char* p = Data.constData();
    qsizetype i = 0;
    for (; i + 8 <= Data.size(); i += 8) {
        quint64 word;
        memcpy(&word, p + i, 8);
        any |= word;
    }
    for (; i < Data.size(); ++i)
        any |= uchar(p[i]);
    if (!(any & 0x8080808080808080ULL))
        return true;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(Data); // decoding happens on the conversion
    return !utf8.hasError();
}

void DropByteOrderMark(QByteArray& Data, bool Utf8)
{
    if (Utf8 && Data.startsWith("\xEF\xBB\xBF"))
        Data.remove(0, 3);
}

QByteArray ReadFormFile(const QString& FileName)
{
    try {
        return KvReadFile(FileName);
    } catch (const EInOutError& e) {
        throw EFilerError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, e.Reason));
    }
}

// A text form file keeps the line breaks it has.
const char* LineBreakOf(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return "\r\n";
    const QByteArray head = file.read(64 * 1024);
    const qsizetype lf = head.indexOf('\n');
    return lf > 0 && head.at(lf - 1) != '\r' ? "\n" : "\r\n";
}

} // namespace

bool KvDelphiFormToTextBytes(const QString& FileName, QByteArray& Text, bool& Utf8,
                             TStreamOriginalFormat& OriginalFormat, const TKvFormFilter& Filter)
{
    OriginalFormat = TStreamOriginalFormat::sofUnknown;
    const QString unitFile = ChangeFileExt(FileName, QStringLiteral(".pas"));
    const QString formFile = ChangeFileExt(FileName, QStringLiteral(".dfm"));
    for (;;) {
        IOTAModule* module = nullptr;
        if (BorlandIDEServices) {
            IOTAModuleServices* services = BorlandIDEServices->ModuleServices();
            KV_ASSERT(services);
            module = services->FindModule(unitFile);
        }
        if (!module)
            break;
        IOTAFormEditor* formEditor = FindFormEditor(module);
        if (formEditor && formEditor->GetRootComponent()) {
            TComponent* root = formEditor->GetRootComponent();
            IDesigner* designer = formEditor->GetDesigner();
            for (int i = 0; i < root->ComponentCount(); ++i) {
                TComponent* c = root->Components(i);
                if (c->GetName().trimmed().isEmpty() && designer)
                    c->SetName(designer->UniqueName(c->ClassName()));
            }
            // The designer's stream is binary, whatever the file on disk holds.
            OriginalFormat = TStreamOriginalFormat::sofBinary;
            Text = ObjectBinaryToText(formEditor->GetFormStream());
            Utf8 = IsUtf8(Text);
            DropByteOrderMark(Text, Utf8);
            return true;
        }
        IOTASourceEditor* sourceEditor = FindSourceEditor(module);
        KV_ASSERT(sourceEditor);
        if (QFileInfo(sourceEditor->FileName()).suffix().toUpper() != QLatin1String("DFM"))
            return false;
        // Open as text in the code editor: close it and read the file.
        if (!module->CloseModule(false))
            throw EFilerError(QStringLiteral("The form \"%1\" is open as text with unsaved changes; save or close it "
                                             "first")
                                  .arg(formFile));
    }
    // A plain system call: a scan asks this for each of thousands of forms.
    if (::access(QFile::encodeName(formFile).constData(), F_OK) != 0)
        return false;
    CheckInsideProject(formFile);
    const QByteArray data = ReadFormFile(formFile);
    if (data.size() < 3)
        throw EReadError(QStringLiteral("Stream read error in \"%1\": the file is shorter than a form header")
                             .arg(formFile),
                         data.size());
    const bool binary = data.startsWith("\xFF\x0A\x00");
    if (Filter && !Filter(data, binary ? TStreamOriginalFormat::sofBinary : TStreamOriginalFormat::sofText))
        return false;
    if (binary) {
        OriginalFormat = TStreamOriginalFormat::sofBinary;
        try {
            Text = ObjectResourceToText(data);
        } catch (const EReadError& e) {
            throw EReadError(QStringLiteral("%1: %2").arg(formFile, e.Reason), e.Offset);
        }
    } else {
        OriginalFormat = TStreamOriginalFormat::sofText;
        Text = data;
    }
    Utf8 = IsUtf8(Text);
    DropByteOrderMark(Text, Utf8);
    return true;
}

bool KvDelphiFormToText(const QString& FileName, QString& Text, TStreamOriginalFormat& OriginalFormat,
                        const TKvFormFilter& Filter)
{
    QByteArray bytes;
    bool utf8 = true;
    if (!KvDelphiFormToTextBytes(FileName, bytes, utf8, OriginalFormat, Filter))
        return false;
    Text = utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    return true;
}

bool KvDelphiFormToFormText(const QString& FileName, QStringList& Lines, TStreamOriginalFormat& OriginalFormat)
{
    QString text;
    if (!KvDelphiFormToText(FileName, text, OriginalFormat))
        return false;
    Lines.clear();
    KvForEachFormLine(text, [&Lines](int, QStringView Line) {
        Lines << Line.toString();
        return true;
    });
    return true;
}

bool KvDelphiFormTextToForm(const QStringList& Lines, const QString& FileName, TStreamOriginalFormat OriginalFormat)
{
    const QString formFile = ChangeFileExt(FileName, QStringLiteral(".dfm"));
    const QByteArray lineBreak = LineBreakOf(formFile);
    // An old 8-bit text form was read a byte a character: its bytes go back as they were.
    bool latin1 = false;
    if (OriginalFormat == TStreamOriginalFormat::sofText && QFileInfo(formFile).isFile()) {
        try {
            latin1 = !IsUtf8(KvReadFile(formFile));
        } catch (const EInOutError&) {
        }
    }
    QByteArray text;
    for (const QString& line : Lines) {
        text += latin1 ? line.toLatin1() : line.toUtf8();
        text += lineBreak;
    }
    QByteArray data;
    try {
        data = ObjectTextToResource(text, OriginalFormat);
    } catch (const EParserError& e) {
        throw EParserError(QStringLiteral("%1: %2").arg(formFile, e.Reason), e.Line, e.Column);
    }
    CheckInsideProject(formFile);
    try {
        KvWriteFile(formFile, data);
    } catch (const EInOutError& e) {
        throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(formFile, e.Reason));
    }
    return true;
}

TComponent* KvDelphiDesignForm(const QString& FileName)
{
    if (!BorlandIDEServices)
        return nullptr;
    IOTAModuleServices* services = BorlandIDEServices->ModuleServices();
    KV_ASSERT(services);
    IOTAModule* module = services->FindModule(ChangeFileExt(FileName, QStringLiteral(".pas")));
    if (!module)
        return nullptr;
    IOTAFormEditor* formEditor = FindFormEditor(module);
    return formEditor ? formEditor->GetRootComponent() : nullptr;
}

QString KvGetProjectName()
{
    IOTAProject* project = ActiveProject();
    return project ? project->FileName() : QString();
}

int KvGetModuleCount()
{
    IOTAProject* project = ActiveProject();
    return project ? project->GetModuleCount() : 0;
}

int KvGetFormCount()
{
    IOTAProject* project = ActiveProject();
    int count = 0;
    for (int i = 0; project && i < project->GetModuleCount(); ++i)
        if (!project->GetModule(i)->FormName().isEmpty())
            ++count;
    return count;
}

void KvGetFormNames(QStringList& List)
{
    IOTAProject* project = ActiveProject();
    for (int i = 0; project && i < project->GetModuleCount(); ++i) {
        const IOTAModuleInfo* info = project->GetModule(i);
        if (!info->FormName().isEmpty())
            List << ChangeFileExt(info->FileName(), QStringLiteral(".dfm"));
    }
}
