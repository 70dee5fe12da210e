object Form1: TForm1
  inline FrA: TFrLoop
    Left = 2
  end
end

----

----
object FrLoop: TFrLoop
  Width = 100
  inline FrInner: TFrLoop
    Left = 1
  end
end
