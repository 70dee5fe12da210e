object DmMain: TDmMain
  OldCreateOrder = False
  OnCreate = DataModuleCreate
  Left = 200
  Top = 120
  Height = 300
  Width = 420
  object Connection: TQsConnection
    ConnectionString = 'Provider=Db;Data Source=orders;'
    LoginPrompt = False
    Left = 32
    Top = 16
  end
  object TbCustomers: TQsTable
    Connection = Connection
    TableName = 'CUSTOMERS'
    Left = 32
    Top = 72
    object TbCustomersNAME: TStringField
      DisplayLabel = 'Name'
      DisplayWidth = 30
      FieldName = 'NAME'
      Size = 60
    end
    object TbCustomersACTIVE: TBooleanField
      FieldName = 'ACTIVE'
    end
  end
  object KvStrings: TKvPkgStrings
    Left = 120
    Top = 16
  end
  object SdExport: TSaveDialog
    DefaultExt = 'csv'
    Filter = 'Comma separated (*.csv)|*.csv|All files (*.*)|*.*'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
    Left = 120
    Top = 72
  end
end
