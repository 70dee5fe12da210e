#pragma once

#include "SysUtils.h"

#include <QString>
#include <QStringList>

// Editing the form class of a Pascal unit as the designer needs it: fields for components,
// event handlers, renaming. Each function takes the unit's text and gives the new text; layout,
// comments and everything it does not change stay as written. A change it cannot make (the
// class is not declared, the text does not parse) raises EUnitSourceError and changes nothing.
class EUnitSourceError : public EInvalidOperation
{
public:
    using EInvalidOperation::EInvalidOperation;
};

namespace KvUnitSource {

// The base class of ClassName as the unit declares it (`TForm1 = class(TForm)` gives TForm);
// empty when the unit does not declare the class or does not parse.
QString FindClassAncestor(const QString& Text, const QString& ClassName);
// Field names of the class's first (published) section.
QStringList FieldNames(const QString& Text, const QString& ClassName);
// A method declared in the class or implemented as ClassName.Name.
bool MethodExists(const QString& Text, const QString& ClassName, const QString& Name);
// Where the code of the method starts: the line after its body's `begin`, else its implementation
// heading, else its declaration; -1 when the unit has none of them.
qsizetype MethodCodePosition(const QString& Text, const QString& ClassName, const QString& Name);
// The procedures (or, with ResultType, functions) of the class whose parameters have the kinds
// and types of Params, written as AddMethod takes them; names may differ. In declaration order;
// none when the unit does not parse.
QStringList MatchingMethods(const QString& Text, const QString& ClassName, const QString& Params,
                            const QString& ResultType = QString());

// `Name: TypeName;` after the last field of the first section; the text as it was when the
// field is there already.
QString AddField(const QString& Text, const QString& ClassName, const QString& Name, const QString& TypeName);
// Removes the field (one name of `A, B: TLabel;` too); the text as it was when it is not there.
QString RemoveField(const QString& Text, const QString& ClassName, const QString& Name);
// `procedure Name(Params);` (a function when ResultType is given) in the first section and an
// empty body before `initialization` or the final `end.`.
QString AddMethod(const QString& Text, const QString& ClassName, const QString& Name, const QString& Params,
                  const QString& ResultType = QString());
// Renames the field, or a method in its declaration and its implementation heading. Raises
// when NewName is taken by another member.
QString RenameField(const QString& Text, const QString& ClassName, const QString& OldName, const QString& NewName);
QString RenameMethod(const QString& Text, const QString& ClassName, const QString& OldName, const QString& NewName);

} // namespace KvUnitSource
