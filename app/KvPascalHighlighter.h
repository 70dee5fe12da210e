#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Colours Pascal source and form text: reserved words, strings with their #nn
// characters, numbers, and comments of all three kinds, braces and (* *) across lines.
class TKvPascalHighlighter : public QSyntaxHighlighter
{
public:
    enum TKind { Plain, Keyword, String, Number, Comment, Directive };

    explicit TKvPascalHighlighter(QTextDocument* Document);

    // Form text: braces hold binary data (drawn as numbers), not comments.
    void SetFormText(bool Value);

    // The format a kind is drawn with.
    QTextCharFormat Format(TKind Kind) const { return FFormats[Kind]; }

protected:
    void highlightBlock(const QString& Text) override;

private:
    QTextCharFormat FFormats[Directive + 1];
    bool FFormText = false;
};
