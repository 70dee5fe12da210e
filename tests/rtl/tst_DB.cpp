#include "Controls.h"
#include "DB.h"
#include "Filer.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// As designers write a data module with a data set, its fields and a data source; the lookup
// field and the data set's parameters carry properties nobody here publishes, and a field and a
// data set of kinds nobody registered sit under a known data set and over a known field.
const char* const OrdersForm = "object DmOrders: TDataModule\n"
                               "  Height = 238\n"
                               "  Width = 406\n"
                               "  object cdsOrders: TClientDataSet\n"
                               "    Aggregates = <>\n"
                               "    FieldDefs = <\n"
                               "      item\n"
                               "        Name = 'OrderNo'\n"
                               "        DataType = ftFloat\n"
                               "      end\n"
                               "      item\n"
                               "        Name = 'ShipToCity'\n"
                               "        DataType = ftString\n"
                               "        Size = 15\n"
                               "      end>\n"
                               "    Params = <>\n"
                               "    Left = 32\n"
                               "    Top = 16\n"
                               "    object cdsOrdersOrderNo: TFloatField\n"
                               "      FieldName = 'OrderNo'\n"
                               "      DisplayFormat = '0000'\n"
                               "    end\n"
                               "    object cdsOrdersEmployee: TStringField\n"
                               "      FieldKind = fkLookup\n"
                               "      FieldName = 'Employee'\n"
                               "      LookupKeyFields = 'EmpNo'\n"
                               "      Size = 30\n"
                               "      Lookup = True\n"
                               "    end\n"
                               "    object cdsOrdersLines: TDataSetField\n"
                               "      FieldName = 'Lines'\n"
                               "    end\n"
                               "  end\n"
                               "  object qrParts: TADOQuery\n"
                               "    Left = 160\n"
                               "    Top = 16\n"
                               "    object qrPartsName: TStringField\n"
                               "      FieldName = 'Name'\n"
                               "    end\n"
                               "  end\n"
                               "  object dsOrders: TDataSource\n"
                               "    DataSet = cdsOrders\n"
                               "    Left = 96\n"
                               "    Top = 16\n"
                               "  end\n"
                               "end\n";

class DataAccess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterControlClasses();
        RegisterDBClasses();
    }

    std::unique_ptr<TComponent> Read(const QByteArray& Text)
    {
        TFormReadOptions Options;
        Options.RootClass = &TDataModule::staticMetaObject;
        return std::unique_ptr<TComponent>(ReadFormAsWritten(FormFileToBinary(Text, &FShape), Options));
    }
    QByteArray Write(TComponent* Root) { return BinaryToFormFile(WriteComponentStream(Root), FShape); }

    TFormFileShape FShape;
};

} // namespace

TEST_F(DataAccess, FormsWithDataSetsLoadLiveAndAreWrittenBackAsTheyWere)
{
    const QByteArray Text(OrdersForm);
    const auto Root = Read(Text);
    auto* Orders = qobject_cast<TClientDataSet*>(Root->FindComponent(QStringLiteral("cdsOrders")));
    auto* Source = qobject_cast<TDataSource*>(Root->FindComponent(QStringLiteral("dsOrders")));
    ASSERT_TRUE(Orders && Source);
    EXPECT_EQ(Source->DataSet(), Orders);

    QStringList Defs;
    Orders->GetFieldNames(Defs);
    EXPECT_EQ(Defs, QStringList({"OrderNo", "ShipToCity"}));
    EXPECT_EQ(Orders->FieldDefs()->Find(QStringLiteral("shiptocity"))->Size(), 15);
    EXPECT_EQ(Orders->FieldDefs()->Items(0)->DataType(), DB::ftFloat);
    QStringList Fields;
    Orders->Fields().GetFieldNames(Fields);
    EXPECT_EQ(Fields, QStringList({"OrderNo", "Employee"}));
    auto* Employee = qobject_cast<TStringField*>(Orders->FindField(QStringLiteral("EMPLOYEE")));
    ASSERT_TRUE(Employee);
    EXPECT_EQ(Employee->Owner(), Root.get()) << "fields belong to the form, not to their data set";
    EXPECT_EQ(Employee->DataSet(), Orders);
    EXPECT_EQ(Employee->FieldKind(), DB::fkLookup);
    EXPECT_EQ(Employee->Size(), 30);

    auto* Name = qobject_cast<TStringField*>(Root->FindComponent(QStringLiteral("qrPartsName")));
    ASSERT_TRUE(Name);
    EXPECT_EQ(Name->DataSet(), nullptr) << "its data set is none this library knows";

    EXPECT_EQ(Write(Root.get()), Text);

    // An edit changes only its own line.
    Employee->SetSize(40);
    QByteArray Edited = Text;
    Edited.replace("      Size = 30\n", "      Size = 40\n");
    EXPECT_EQ(Write(Root.get()), Edited);
}

// A root is its form's own class: a web module named "Ttable" is of the kind its unit declares,
// not the data set kind of the same name. Read with nothing known of its unit, as that data set
// kind, it still keeps what it holds and its class name as written.
TEST_F(DataAccess, AModuleNamedLikeADataSetKindIsAModule)
{
    const QByteArray Text("object table: Ttable\n"
                          "  PageProducer = Producer\n"
                          "  Height = 296\n"
                          "  Width = 241\n"
                          "  object Producer: TAdapterPageProducer\n"
                          "    Left = 48\n"
                          "    Top = 8\n"
                          "    object AdapterForm1: TAdapterForm\n"
                          "    end\n"
                          "  end\n"
                          "end\n");
    const auto Module = Read(Text);
    auto* AsModule = qobject_cast<TDataModule*>(Module.get());
    ASSERT_TRUE(AsModule) << Module->metaObject()->className();
    EXPECT_EQ(AsModule->GetHeight(), 296);
    EXPECT_EQ(Module->ClassName(), QStringLiteral("Ttable"));
    EXPECT_EQ(Write(Module.get()), Text);

    TFormReadOptions Form;
    Form.RootClass = &TForm::staticMetaObject;
    const std::unique_ptr<TComponent> AsForm(ReadFormAsWritten(FormFileToBinary(Text), Form));
    EXPECT_TRUE(qobject_cast<TForm*>(AsForm.get()));
    EXPECT_EQ(Write(AsForm.get()), Text);

    const std::unique_ptr<TComponent> AsDataSet(ReadFormAsWritten(FormFileToBinary(Text), TFormReadOptions()));
    ASSERT_TRUE(qobject_cast<TTable*>(AsDataSet.get()));
    EXPECT_EQ(AsDataSet->ClassName(), QStringLiteral("Ttable"));
    EXPECT_EQ(Write(AsDataSet.get()), Text);
}

TEST_F(DataAccess, FieldsAndSourcesFollowTheirDataSet)
{
    TDataModule Root;
    Root.SetName(QStringLiteral("DmNew"));
    auto* Set = new TTable(&Root);
    Set->SetName(QStringLiteral("TbParts"));
    Set->FieldDefs()->AddFieldDef(QStringLiteral("PartNo"), DB::ftInteger);
    auto* Part = new TIntegerField(&Root);
    Part->SetName(QStringLiteral("TbPartsPartNo"));
    Part->SetFieldName(QStringLiteral("PartNo"));
    Part->SetDataSet(Set);
    auto* Name = new TStringField(&Root);
    Name->SetName(QStringLiteral("TbPartsName"));
    Name->SetFieldName(QStringLiteral("Name"));
    Name->SetParentComponent(Set);
    auto* Source = new TDataSource(&Root);
    Source->SetName(QStringLiteral("DsParts"));
    Source->SetDataSet(Set);

    // New fields are written inside their data set; a string field's usual size is not written.
    const QByteArray Text = WriteComponentText(&Root, TLineBreak::LF);
    EXPECT_TRUE(Text.contains("  object TbParts: TTable\n"
                              "    FieldDefs = <\n"
                              "      item\n"
                              "        Name = 'PartNo'\n"
                              "        DataType = ftInteger\n"
                              "      end>\n"
                              "    object TbPartsPartNo: TIntegerField\n"
                              "      FieldName = 'PartNo'\n"
                              "    end\n"
                              "    object TbPartsName: TStringField\n"
                              "      FieldName = 'Name'\n"
                              "    end\n"
                              "  end\n"))
        << Text.constData();
    EXPECT_TRUE(Text.contains("    DataSet = TbParts\n"));

    EXPECT_THROW(Name->SetSize(-1), EInvalidOperation);
    EXPECT_EQ(Name->DisplayName(), QStringLiteral("Name"));

    delete Part;
    EXPECT_EQ(Set->Fields().Count(), 1);
    delete Set;
    EXPECT_EQ(Source->DataSet(), nullptr);
    EXPECT_EQ(Name->DataSet(), nullptr);
    EXPECT_EQ(Name->Owner(), &Root);
}
