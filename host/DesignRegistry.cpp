#include "DesignRegistry.h"

#include "Classes.h"
#include "SysUtils.h"

#include <QHash>

#include <tuple>
#include <vector>

namespace {

struct TPalettePage
{
    QString Name;
    QList<const QMetaObject*> Classes;
};

struct TPropertyEditorRegistration
{
    const QMetaObject* ComponentClass; // null: any
    QString PropertyName;              // empty: every property of the type
    TPropertyEditorClass EditorClass;
};

struct TDesignRegistry
{
    QList<TPalettePage> Pages;
    QHash<const QMetaObject*, const QMetaObject*> Groups;
    // Registrations in order (the index is the order); looked up through the type indexes so
    // that a property only meets the registrations of its own type.
    std::vector<TPropertyEditorRegistration> PropertyEditors;
    QHash<int, QList<int>> ByTypeId;
    QHash<const QMetaObject*, QList<int>> ByPropertyClass;
    QHash<const QMetaObject*, TComponentEditorClass> ComponentEditors;
};

TDesignRegistry& Registry()
{
    static TDesignRegistry Instance;
    return Instance;
}

void CheckComponentClass(const QMetaObject* Class)
{
    if (!InheritsFrom(Class, &TComponent::staticMetaObject))
        throw EComponentError(QStringLiteral("%1 is not a component class")
                                  .arg(Class ? QString::fromLatin1(Class->className()) : QStringLiteral("nil")));
}

void RegisterNoIconClasses(const QList<const QMetaObject*>& Classes)
{
    for (const QMetaObject* Class : Classes)
        CheckComponentClass(Class);
    for (const QMetaObject* Class : Classes)
        RegisterClass(Class);
}

// Steps from Class up to Base; -1 when Class does not descend from it.
int Distance(const QMetaObject* Class, const QMetaObject* Base)
{
    int Steps = 0;
    for (; Class; Class = Class->superClass(), ++Steps)
        if (Class == Base)
            return Steps;
    return -1;
}

const QMetaObject* PointeeClass(QMetaType Type)
{
    return (Type.flags() & QMetaType::PointerToQObject) ? Type.metaObject() : nullptr;
}

void AddPropertyEditor(int TypeId, const QMetaObject* PropertyClass, const QMetaObject* ComponentClass,
                       const QString& PropertyName, const TPropertyEditorClass& EditorClass)
{
    TDesignRegistry& R = Registry();
    const int Order = int(R.PropertyEditors.size());
    R.PropertyEditors.push_back({ComponentClass, PropertyName, EditorClass});
    if (PropertyClass)
        R.ByPropertyClass[PropertyClass].append(Order);
    else
        R.ByTypeId[TypeId].append(Order);
}

} // namespace

void RegisterComponents(const QString& Page, std::initializer_list<const QMetaObject*> Classes)
{
    RegisterComponents(Page, QList<const QMetaObject*>(Classes));
}

void RegisterComponents(const QString& Page, const QList<const QMetaObject*>& Classes)
{
    RegisterNoIconClasses(Classes);
    QList<TPalettePage>& Pages = Registry().Pages;
    auto It = std::find_if(Pages.begin(), Pages.end(),
                           [&](const TPalettePage& P) { return P.Name.compare(Page, Qt::CaseInsensitive) == 0; });
    if (It == Pages.end())
        It = Pages.insert(Pages.end(), TPalettePage{Page, {}});
    for (const QMetaObject* Class : Classes)
        if (!It->Classes.contains(Class))
            It->Classes.append(Class);
}

void RegisterNoIcon(std::initializer_list<const QMetaObject*> Classes)
{
    RegisterNoIconClasses(QList<const QMetaObject*>(Classes));
}

void RegisterNoIcon(const QList<const QMetaObject*>& Classes)
{
    RegisterNoIconClasses(Classes);
}

QStringList PalettePages()
{
    QStringList Names;
    for (const TPalettePage& Page : std::as_const(Registry().Pages))
        Names << Page.Name;
    return Names;
}

QList<const QMetaObject*> PaletteClasses(const QString& Page)
{
    for (const TPalettePage& P : std::as_const(Registry().Pages))
        if (P.Name.compare(Page, Qt::CaseInsensitive) == 0)
            return P.Classes;
    return {};
}

void GroupDescendentsWith(const QMetaObject* Class, const QMetaObject* GroupClass)
{
    if (Class && GroupClass)
        Registry().Groups.insert(Class, GroupClass);
}

const QMetaObject* ClassGroupOf(const QMetaObject* Class)
{
    const TDesignRegistry& R = Registry();
    for (; Class; Class = Class->superClass())
        if (const QMetaObject* Group = R.Groups.value(Class))
            return Group;
    return nullptr;
}

void RegisterPropertyEditor(QMetaType PropertyType, const QMetaObject* ComponentClass, const QString& PropertyName,
                            const TPropertyEditorClass& EditorClass)
{
    if (!PropertyType.isValid())
        throw EInvalidOperation(QStringLiteral("A property editor needs a property type"));
    AddPropertyEditor(PropertyType.id(), PointeeClass(PropertyType), ComponentClass, PropertyName, EditorClass);
}

void RegisterPropertyEditor(const QMetaObject* PropertyClass, const QMetaObject* ComponentClass,
                            const QString& PropertyName, const TPropertyEditorClass& EditorClass)
{
    if (!PropertyClass)
        throw EInvalidOperation(QStringLiteral("A property editor needs a property class"));
    AddPropertyEditor(0, PropertyClass, ComponentClass, PropertyName, EditorClass);
}

TPropertyEditorClass FindPropertyEditorClass(const QMetaObject* ComponentClass, const TPropInfo& Prop)
{
    const TDesignRegistry& R = Registry();
    // Larger is better, compared in this order; the order of registration breaks ties.
    using TScore = std::tuple<bool, int, bool, int, int>;
    const TPropertyEditorRegistration* Best = nullptr;
    TScore BestScore;

    auto Consider = [&](const QList<int>& Candidates, int TypeDistance) {
        for (int Order : Candidates) {
            const TPropertyEditorRegistration& Reg = R.PropertyEditors[size_t(Order)];
            int ClassDistance = 0;
            if (Reg.ComponentClass) {
                ClassDistance = Distance(ComponentClass, Reg.ComponentClass);
                if (ClassDistance < 0)
                    continue;
            }
            if (!Reg.PropertyName.isEmpty() && Reg.PropertyName.compare(Prop.Name, Qt::CaseInsensitive) != 0)
                continue;
            const TScore Score{Reg.ComponentClass != nullptr, -ClassDistance, !Reg.PropertyName.isEmpty(),
                               -TypeDistance, Order};
            if (!Best || Score > BestScore) {
                Best = &Reg;
                BestScore = Score;
            }
        }
    };

    const QMetaType Type = Prop.Prop.metaType();
    if (const QMetaObject* PropertyClass = Prop.ClassType ? Prop.ClassType : PointeeClass(Type)) {
        int TypeDistance = 0;
        for (const QMetaObject* Class = PropertyClass; Class; Class = Class->superClass(), ++TypeDistance) {
            const auto It = R.ByPropertyClass.constFind(Class);
            if (It != R.ByPropertyClass.cend())
                Consider(*It, TypeDistance);
        }
    } else {
        const auto It = R.ByTypeId.constFind(Type.id());
        if (It != R.ByTypeId.cend())
            Consider(*It, 0);
    }
    return Best ? Best->EditorClass : GetDefaultPropertyEditorClass(Prop);
}

void RegisterComponentEditor(const QMetaObject* ComponentClass, const TComponentEditorClass& EditorClass)
{
    CheckComponentClass(ComponentClass);
    Registry().ComponentEditors.insert(ComponentClass, EditorClass);
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer)
{
    if (!Component)
        return nullptr;
    const TDesignRegistry& R = Registry();
    for (const QMetaObject* Class = Component->metaObject(); Class; Class = Class->superClass()) {
        const auto It = R.ComponentEditors.constFind(Class);
        if (It != R.ComponentEditors.cend() && *It)
            return It->Create(Component, Designer);
    }
    return std::make_unique<TDefaultEditor>(Component, Designer);
}

void UnregisterAll()
{
    Registry() = TDesignRegistry();
}
