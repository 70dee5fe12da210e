#pragma once

#include "ToolsAPI.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Reading Pascal sources: just enough of the language to find declarations in a project file or
// a unit while leaving everything else (comments, strings, layout) untouched.
namespace KvPascal {

enum class TTokenKind { Eof, Ident, String, Number, Symbol, Comment };

struct TToken
{
    TTokenKind Kind = TTokenKind::Eof;
    qsizetype Start = 0; // offsets into the source
    qsizetype End = 0;
    int Line = 1;        // 1-based, of Start
    int Column = 1;
    QString Text;        // as written; a string's quotes and a comment's delimiters included

    bool Is(QStringView Word) const; // an identifier or symbol, compared without case
    bool IsDirective() const;        // {$...} or (*$...*)
    QString CommentBody() const;     // a comment without its delimiters
    QString StringValue() const;     // a string literal's value
};

class TLexer
{
public:
    explicit TLexer(const QString& Source);

    // The next token, comments included. Raises EParserError for an unterminated string or comment.
    TToken Next();
    // The next token that is not a comment.
    TToken NextCode();
    qsizetype Position() const { return FPos; }

private:
    QString FSource;
    qsizetype FPos = 0;
    int FLine = 1;
    qsizetype FLineStart = 0;

    void SkipBlanks();
    [[noreturn]] void Fail(const QString& Reason, qsizetype At) const;
};

} // namespace KvPascal

// Whole-file reading and atomic writing; errors name the file.
QByteArray ReadFileBytes(const QString& FileName);
void WriteFileBytes(const QString& FileName, const QByteArray& Data);
// An existing file whose name differs only in case (unit names in project files were written on
// systems that ignore case); the path itself when there is none.
QString ResolveFileCase(const QString& FileName);
// Absolute and clean, for comparing file names.
QString NormalizeFileName(const QString& FileName);
// Raises EFilerError when FileName lies in Folder by its name but outside it once links are
// followed, so that a link in a project cannot lead a read or a save elsewhere.
void KvCheckInsideFolder(const QString& Folder, const QString& FileName);

// The text of a file as the code editor holds it. The file's encoding (UTF-8 with or without a
// byte order mark, otherwise 8-bit) and its line breaks are kept, so an unchanged text saves back
// byte for byte.
class TKvSourceEditor : public IOTASourceEditor
{
public:
    TKvSourceEditor(IOTAModule* Module, const QString& FileName);

    QString FileName() const override { return FFileName; }
    IOTAModule* Module() const override { return FModule; }
    QString Text() const override { return FText; }

    void SetText(const QString& Value);      // marks the editor modified when the text changes
    void LoadFromFile();                      // the text stays as it was when this raises
    void LoadFromBytes(const QByteArray& Data);
    QByteArray Encoded() const;
    void SaveToFile();                        // clears the modified flag
    bool IsModified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    // "\r\n" when the text uses them, else "\n": what inserted lines use.
    QString LineBreak() const;

private:
    IOTAModule* FModule;
    QString FFileName;
    QString FText;
    QString FSavedText; // as the file holds it
    bool FModified = false;
    bool FUtf8 = true;
    bool FBom = false;
};

enum class TKvProjectKind { Program, Library };

// One `uses` entry of a project that names its file: `Unit1 in 'Unit1.pas' {Form1}`.
class TKvModuleInfo : public IOTAModuleInfo
{
public:
    TKvModuleInfo(const QString& Name, const QString& FileName, const QString& FormName, const QString& FormType,
                  const QString& Path, int Line)
        : FName(Name), FFileName(FileName), FFormName(FormName), FFormType(FormType), FPath(Path), FLine(Line)
    {
    }

    QString Name() const override { return FName; }
    QString FileName() const override { return FFileName; }
    QString FormName() const override { return FFormName; }
    // The root's base class when the entry names one ({DataModule1: TDataModule}), else empty.
    QString FormType() const { return FFormType; }
    // The .dfm beside the unit; empty when the unit has no form.
    QString FormFileName() const;
    QString Path() const { return FPath; } // as written in the project file
    int Line() const { return FLine; }

private:
    QString FName;
    QString FFileName;
    QString FFormName;
    QString FFormType;
    QString FPath;
    int FLine = 0;
};

// A project read from its project file (.dpr): the program or library name and its units in
// project order. Units outside the project folder are refused.
class TKvProject : public IOTAProject
{
public:
    TKvProject();
    ~TKvProject() override;

    // Raises EParserError ("Sample.dpr:5: ';' expected") or EFilerError naming the file; this
    // project stays as it was.
    void LoadFromFile(const QString& FileName);
    void Load(const QString& FileName, const QString& Source);

    QString FileName() const override { return FFileName; }
    QString ProjectName() const { return FProjectName; }
    TKvProjectKind Kind() const { return FKind; }
    QString ProjectDir() const;
    // The code page of the raw 8-bit strings in the project's older forms, as the project's options
    // name it (the compiler's code page in the .dproj beside the project file, "cp936"); empty when
    // they name none.
    QString CodePage() const { return FCodePage; }
    // Units of the uses clause that have no file of the project (Forms, SysUtils).
    QStringList LibraryUnits() const { return FLibraryUnits; }

    int GetModuleCount() const override { return int(FModules.size()); }
    IOTAModuleInfo* GetModule(int Index) const override;
    // By unit name or by the unit's .pas or .dfm file name, without case.
    TKvModuleInfo* FindModuleInfo(const QString& NameOrFile) const;

    // The project file in the code editor.
    int GetModuleFileCount() const override { return FSource ? 1 : 0; }
    IOTAEditor* GetModuleFileEditor(int Index) const override;
    TKvSourceEditor* SourceEditor() const { return FSource.get(); }
    // Asks the host (OnClose) to close the project; the project is destroyed when it does.
    bool CloseModule(bool ForceClosed) override;
    std::function<bool(bool ForceClosed)> OnClose;

private:
    QString FFileName;
    QString FProjectName;
    TKvProjectKind FKind = TKvProjectKind::Program;
    QList<std::shared_ptr<TKvModuleInfo>> FModules;
    QStringList FLibraryUnits;
    QString FCodePage;
    std::unique_ptr<TKvSourceEditor> FSource;
};

// A form's ancestry as the units declare it (class(TBaseForm)): the forms it inherits from, base
// first, and the registered class they all start from. Each ancestor's unit is looked for among
// Units (a project's), then beside the unit; its form is the .dfm beside that unit.
struct TKvFormAncestry
{
    QStringList Forms;
    QString BaseClass; // for a Missing ancestor, the kind it names (TWebModule: TDataModule); empty
                       // when the unit does not declare the class
    QString Missing;   // the ancestor whose unit or form was not found
};
TKvFormAncestry KvFindFormAncestry(const QString& UnitFile, const QString& ClassName, const QStringList& Units);
// The class a form's root is made of: the registered class its ancestors start from, else the
// kind of module its project notes (FormType) or its missing ancestor names (TWebModule: a data
// module, TToolFrame: a frame); null when none of them says.
const QMetaObject* KvFormRootClass(const TKvFormAncestry& Ancestry, const QString& FormType);
// The form file of the unit that declares ClassName (a frame placed inline), or empty.
QString KvFindClassForm(const QString& ClassName, const QString& Dir, const QStringList& Units);
