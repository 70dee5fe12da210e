object DmMain: TDmMain
  OldCreateOrder = False
  OnCreate = DataModuleCreate
  Height = 300
  Width = 420
  object Conn: TADOConnection
    ConnectionString = 
      'Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security In' +
      'fo=False;Initial Catalog=Shop;Data Source=(local)'
    LoginPrompt = False
    Provider = 'SQLOLEDB.1'
    Left = 32
    Top = 16
  end
  object QryArticles: TADOQuery
    Connection = Conn
    CursorType = ctStatic
    Parameters = <
      item
        Name = 'Group'
        Attributes = [paSigned, paNullable]
        DataType = ftInteger
        Preciqion = 10
        Size = 4
        Value = 0
      end>
    SQL.Strings = (
      'select ID, NAME, PRICE, STOCK'
      'from ARTICLE'
      'where GROUP_ID = :Group')
    Left = 112
    Top = 16
    object QryTPF0ArticlesID: TAutoIncField
      FieldName = 'ID'
      ReadOnly = True
    end
    object QryArticlesNAME: TWideStringField
      DisplayLabel = 'Bezeichnung'
      DisplayWidth = 30
      FieldName = 'NAME'
      Size = 80
    end
    object QryArticlesPRICE: TBCDField
      DisplayFormat = '#,##0.00 '#8364
      FieldName = 'PRICE'
      currency = True
      Precision = 19
    end
    object QryArticlesSTOCK: TFloatField
      DefaultExpression = '0'
      FieldName = 'STOCK'
      MaxValue = 100000.000000000000000000
      MinValue = -0.500000000000000000
    end
  end
  object CdsCache: TClientDaTaSet
    Aggregates = <>
    FieldDefs = <
      item
        Name = 'KEY'
        DataType = ftString
        Size = 40
      end
      item
        Name = 'STAMP'
        DataType = ftDateTime
      end>
    IndexDefs = <>
    Params = <>
    StoreDefs = True
    Left = 200
    Top = 16
    Data = {
      4C0000009619E0BD0100000018000000020000000000030000004C00034B4559
      0100490000000100055749445448020002002800055354414D50080008000000
      00000000}
  end
  object DsArticles: TDataSource
    DataSet = QryArticles
    Left = 112
    Top = 72
  end
  object RptArticles: TfrxReport
    Version = '6.9.3'
    DotMatrixReport = False
    PreviewOptions.Buttons = [pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit, pbNavigator, pbExportQuick]
    PreviewOptions.Zoom = 1.000000000000000000
    PrintOptions.Printer = 'Default'
    ReportOptions.CreateDate = 44197.512916782410000000
    ScriptLanguage = 'PascalScript'
    Left = 200
    Top = 72
    Datasets = <
      item
        DataSet = DsArticles
        DataSetName = 'Articles'
      end>
    Variables = <>
    Style = <>
  end
end
