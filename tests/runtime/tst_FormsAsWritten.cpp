#include "Controls.h"
#include "Filer.h"
#include "KvRuntimeClasses.h"
#include "SysUtils.h"
#include "TypInfo.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// The corpus of forms written the way designers write them, read into live components.

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

struct TCorpusForm
{
    QString File;
    QStringList Ancestors; // base first
};

QList<TCorpusForm> Corpus()
{
    QList<TCorpusForm> forms;
    const QDir dir(QStringLiteral(KV_TEST_DATA "/forms"));
    for (const QString& name : dir.entryList({QStringLiteral("*.dfm")}, QDir::Files, QDir::Name))
        forms.append({dir.filePath(name), {}});
    const QDir legacy(QStringLiteral(KV_TEST_DATA "/projects/Legacy"));
    forms.append({legacy.filePath(QStringLiteral("UBase.dfm")), {}});
    forms.append({legacy.filePath(QStringLiteral("UAddress.dfm")), {}});
    forms.append({legacy.filePath(QStringLiteral("UChild.dfm")), {legacy.filePath(QStringLiteral("UBase.dfm"))}});
    return forms;
}

TFormFileShape Shape;

std::unique_ptr<TComponent> Load(const TCorpusForm& form, QByteArray& data)
{
    KvRegisterRuntimeClasses();
    data = ReadFile(form.File);
    TFormReadOptions options;
    options.RootClass = &TForm::staticMetaObject;
    for (const QString& a : form.Ancestors)
        options.Ancestors << FormFileToBinary(ReadFile(a));
    const QString frame = QFileInfo(form.File).absolutePath() + QStringLiteral("/UAddress.dfm");
    options.FindFrame = [frame](const QString& name) {
        return name == QLatin1String("TFrAddress") && QFile::exists(frame) ? ReadFile(frame) : QByteArray();
    };
    const QByteArray binary = FormFileToBinary(data, &Shape);
    options.AnsiStrings = Shape.Text.Style == TFormTextStyle::Legacy;
    return std::unique_ptr<TComponent>(ReadFormAsWritten(binary, options));
}

// In the shape and style of the form last loaded.
QByteArray Written(TComponent* root)
{
    return BinaryToFormFile(WriteComponentStream(root), Shape);
}

// Lines of after that are not in before and lines of before that are not in after, with their
// positions lined up from both ends.
QList<QByteArray> ChangedLines(const QByteArray& before, const QByteArray& after)
{
    const QList<QByteArray> a = before.split('\n'), b = after.split('\n');
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && a.at(head) == b.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a.at(a.size() - 1 - tail) == b.at(b.size() - 1 - tail))
        ++tail;
    return a.mid(head, a.size() - head - tail) + b.mid(head, b.size() - head - tail);
}

} // namespace

TEST(FormsAsWritten, CorpusFormsComeBackByteForByte)
{
    for (const TCorpusForm& form : Corpus()) {
        SCOPED_TRACE(form.File.toStdString());
        QByteArray data;
        auto root = Load(form, data);
        EXPECT_EQ(Written(root.get()), data);
        // Bytes after the root would be lost by the next save: the form is refused instead.
        if (form.Ancestors.isEmpty()) {
            TFormReadOptions options;
            options.RootClass = &TForm::staticMetaObject;
            EXPECT_THROW(delete ReadFormAsWritten(FormFileToBinary(data) + '\0', options), EReadError);
        }
    }
}

// Moving any one control, or renaming any one control's hint, changes that control's lines and
// nothing else.
TEST(FormsAsWritten, OneEditChangesOnlyThatPropertysLines)
{
    for (const TCorpusForm& form : Corpus()) {
        QByteArray data;
        const int count = Load(form, data)->ComponentCount();
        for (int i = 0; i < count; ++i) {
            auto root = Load(form, data);
            auto* control = qobject_cast<TControl*>(root->Components(i));
            if (!control)
                continue;
            SCOPED_TRACE((form.File + u' ' + control->GetName()).toStdString());
            control->SetLeft(control->GetLeft() + 7);
            QList<QByteArray> changed = ChangedLines(data, Written(root.get()));
            ASSERT_GE(changed.size(), 1);
            ASSERT_LE(changed.size(), 4);
            // A component of the ancestor comes with the lines that name it.
            for (const QByteArray& line : changed)
                EXPECT_TRUE(line.trimmed().startsWith("Left = ") || line.trimmed().startsWith("inherited ")
                            || line.trimmed() == "end")
                    << line.constData();
            if (IsPlaceholder(control))
                continue;
            control->SetLeft(control->GetLeft() - 7);
            control->SetHint(QStringLiteral("Edited"));
            changed = ChangedLines(data, Written(root.get()));
            ASSERT_GE(changed.size(), 1);
            EXPECT_EQ(changed.takeLast().trimmed(), "Hint = 'Edited'");
            for (const QByteArray& line : changed) // the old hint, over one line or several
                EXPECT_TRUE(line.trimmed().startsWith("Hint =") || line.trimmed().startsWith('\''))
                    << line.constData();
        }
    }
}

// A component is named by its header, once: a Name among its properties stays there, and a
// component met twice is refused.
TEST(FormsAsWritten, ComponentsAreNamedByTheirHeaderOnce)
{
    KvRegisterRuntimeClasses();
    const QByteArray binary = FormFileToBinary("object Form1: TForm\r\n  Name = 'Other'\r\n"
                                               "  object TQsField\r\n    Name = 'Inner'\r\n  end\r\nend\r\n");
    TFormReadOptions options;
    options.RootClass = &TForm::staticMetaObject;
    std::unique_ptr<TComponent> root(ReadFormAsWritten(binary, options));
    EXPECT_EQ(root->GetName(), QStringLiteral("Form1"));
    EXPECT_EQ(WriteComponentStream(root.get()), binary);

    // An inherited component met a second time is refused rather than read over the first.
    const QByteArray twice = FormFileToBinary("inherited Form1: TForm1\r\n  inherited PnTop: TKvPanel\r\n  end\r\n"
                                              "  object PnOther: TKvPanel\r\n    inherited PnTop: TKvPanel\r\n"
                                              "    end\r\n  end\r\nend\r\n");
    EXPECT_THROW(delete ReadFormAsWritten(twice, options), EReadError);
}
