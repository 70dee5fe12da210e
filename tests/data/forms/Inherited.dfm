inherited FrmChild: TFrmChild
  Caption = 'Child'
  inherited PnTop: TKvPanel
    Height = 48
    inherited BtOk: TKvButton [0]
      Left = 4
    end
    object BtHelp: TKvButton [2]
      Left = 92
      Caption = '&Help'
      ModalResult = 0
    end
  end
  inline FrAddress: TFrAddress
    Left = 8
    Top = 56
    inherited EdStreet: TKvEdit
      Text = 'Main street'
    end
  end
  object TKvMenuItem [5]
    Caption = '-'
  end
  object PgMain: TKvPageControl
    ActivePage = TsFirst
    Tabs = <
      item [1]
        Caption = 'First'
        TabSheet = TsFirst
      end
      item [0]
        Caption = 'Second'
      end>
    object TsFirst: TKvTabSheet
      Caption = 'First'
      object PnDeep: TKvPanel
        object PnDeeper: TKvPanel
          object LaDeepest: TKvLabel
            Caption = 'Deep'
          end
        end
      end
    end
  end
end
