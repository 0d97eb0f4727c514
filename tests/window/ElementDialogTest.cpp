// The element dialog of every kind: what is set there is saved as the same file the same
// change gives through the core, as one undoable step; Cancel changes nothing; the address
// editor refuses addresses outside their type's range.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "common/ImageFormat.h"
#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/HMIFrame.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"
#include "editor/ui/window/AddrEditor.h"
#include "editor/ui/window/ElementDialog.h"
#include "editor/ui/window/MainWindow.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

namespace {

template <class W>
W& Field(CElementDialog& a_Dialog, const char* a_Name) {
  W* widget = a_Dialog.findChild<W*>(a_Name);
  if (widget == nullptr) qFatal("no field %s", a_Name);
  return *widget;
}

void SetAddr(CElementDialog& a_Dialog, const char* a_Type, const char* a_Address, const char* a_Sub = nullptr) {
  CAddrEditor& editor = *a_Dialog.AddrEditor();
  editor.PortBox().setCurrentIndex(editor.PortBox().findData(CAddr::kInternalPort));
  editor.TypeBox().setCurrentText(a_Type);
  editor.AddressBox().setText(a_Address);
  if (a_Sub != nullptr) editor.SubAddressBox().setText(a_Sub);
}

// The internal address the dialog's editor gives for the same entries.
void SetAddr(CAddr& a_Addr, const char* a_Type, int32_t a_Address, int32_t a_Sub = 0) {
  a_Addr.Reset(std::string(a_Type).ends_with(".B") ? CAddr::kBit : CAddr::kWord);
  a_Addr.m_TypeName = a_Type;
  a_Addr.m_Address = a_Address;
  a_Addr.m_SubAddress = a_Sub;
}

// A change of one kind: in the dialog, and the same through the core.
struct CKindChange {
  int32_t m_Type;
  std::function<void(CElementDialog&)> m_InDialog;
  std::function<void(CGraphElement&, CEditorContext&)> m_InCore;
};

std::vector<CKindChange> Changes() {
  return {
      {kTypeLed,
       [](CElementDialog& d) {
         Field<QComboBox>(d, "shape").setCurrentIndex(1);
         Field<QSpinBox>(d, "imageSize").setValue(3);
         Field<QCheckBox>(d, "invert").setChecked(true);
         Field<QCheckBox>(d, "blink").setChecked(true);
         Field<QSpinBox>(d, "blinkPeriod").setValue(7);
         SetAddr(d, "RW.B", "511", "F");
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& l = static_cast<CLedGE&>(e);
         l.m_Shape = 1, l.m_Size = 3, l.m_Invert = 1, l.m_Blink = 1, l.m_BlinkPeriod = 7;
         SetAddr(l.m_Reg, "RW.B", 511, 15);
       }},
      {kTypeFunckey,
       [](CElementDialog& d) {
         Field<QSpinBox>(d, "keyNumber").setValue(63);
         Field<QComboBox>(d, "actionClass").setCurrentIndex(2);
         Field<QComboBox>(d, "wordAction").setCurrentIndex(3);
         Field<QSpinBox>(d, "value").setValue(-5);
         Field<QSpinBox>(d, "limit").setValue(100);
         Field<QCheckBox>(d, "repeatOnPress").setChecked(true);
         Field<QSpinBox>(d, "grade").setValue(4);
         Field<QCheckBox>(d, "restoreLevel").setChecked(true);
         SetAddr(d, "RW", "12");
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& k = static_cast<CFunckeyGE&>(e);
         k.m_KeyNumber = 63, k.m_ActionClass = 2, k.m_WordSet.m_Action = 3, k.m_WordSet.m_Value = -5;
         k.m_WordSet.m_Limit = 100, k.m_WordSet.m_RepeatOnPress = 1, k.m_Grade = 4, k.m_RestoreLevel = 1;
         SetAddr(k.m_Reg, "RW", 12);
       }},
      {kTypeStaticText,
       [](CElementDialog& d) {
         Field<QLineEdit>(d, "text").setText("RUN 1");
         Field<QComboBox>(d, "sizeIndex").setCurrentIndex(0);
       },
       [](CGraphElement& e, CEditorContext& c) {
         auto& t = static_cast<CStaticText&>(e);
         t.SetSizeIndex(0);
         t.EnterText("RUN 1", c);
       }},
      {kTypeDynamicText,
       [](CElementDialog& d) {
         Field<QComboBox>(d, "alignment").setCurrentIndex(2);
         Field<QTableWidget>(d, "states").item(0, 0)->setText("OFF");
         Field<QTableWidget>(d, "states").item(255, 0)->setText("LAST");
         Field<QComboBox>(d, "sizeIndex").setCurrentIndex(1);
         Field<QCheckBox>(d, "builtin").setChecked(true);
         SetAddr(d, "LW", "255");
       },
       [](CGraphElement& e, CEditorContext& c) {
         auto& t = static_cast<CDynamicText&>(e);
         t.m_Alignment = 2;
         t.GetState(1)->m_Text = "OFF";
         t.GetState(256)->m_Text = "LAST";
         t.SetSizeIndex(1);
         t.SetBuiltinOption(1);
         SetAddr(t.m_Reg, "LW", 255);
         t.UpdateSize(c);
       }},
      {kTypeRegister,
       [](CElementDialog& d) {
         Field<QComboBox>(d, "dataType").setCurrentIndex(3);
         Field<QSpinBox>(d, "integerDigits").setValue(5);
         Field<QSpinBox>(d, "decimalDigits").setValue(2);
         Field<QCheckBox>(d, "register32").setChecked(true);
         Field<QCheckBox>(d, "inputEnabled").setChecked(true);
         Field<QCheckBox>(d, "limitEnabled").setChecked(true);
         Field<QDoubleSpinBox>(d, "inputUpper").setValue(99.5);
         Field<QCheckBox>(d, "projection").setChecked(true);
         Field<QDoubleSpinBox>(d, "projectionLower").setValue(-10);
         Field<QComboBox>(d, "alignment").setCurrentIndex(0);
         SetAddr(d, "RW", "0");
       },
       [](CGraphElement& e, CEditorContext& c) {
         auto& r = static_cast<CRegisterGE&>(e);
         r.m_Type = 3, r.m_ShowBits = 5, r.m_FloatBits = 2, r.m_RegWidth = 1, r.m_Setting = 1, r.m_Limit = 1;
         r.m_InputUpper = 99.5, r.m_Projection = 1, r.m_PrjLower = -10, r.m_Alignment = 0;
         SetAddr(r.m_Reg, "RW", 0);
         r.UpdateSize(c);
       }},
      {kTypeBar,
       [](CElementDialog& d) {
         Field<QComboBox>(d, "dataType").setCurrentIndex(4);
         Field<QComboBox>(d, "direction").setCurrentIndex(3);
         Field<QDoubleSpinBox>(d, "upper").setValue(100);
         Field<QDoubleSpinBox>(d, "lower").setValue(-100);
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& b = static_cast<CBarGE&>(e);
         b.m_DataType = 4, b.m_DrawDir = 3, b.m_Upper = 100, b.m_Lower = -100;
       }},
      {kTypeTrend,
       [](CElementDialog& d) {
         Field<QSpinBox>(d, "points").setValue(50);
         Field<QSpinBox>(d, "period").setValue(1);
         Field<QCheckBox>(d, "register32").setChecked(true);
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& t = static_cast<CTrendGE&>(e);
         t.m_Points = 50, t.m_Period = 1, t.m_RegWidth = 1;
       }},
      {kTypePicture,
       [](CElementDialog& d) {
         Field<QCheckBox>(d, "compress").setChecked(true);
         Field<QCheckBox>(d, "leftFill").setChecked(true);
         Field<QSpinBox>(d, "left").setValue(3);
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& p = static_cast<CPictureGE&>(e);
         p.m_Trait.m_Compress = 1, p.m_Trait.m_LeftFill = 1;
         p.SetLeft(3);
       }},
      {kTypeAscii,
       [](CElementDialog& d) {
         Field<QSpinBox>(d, "charCount").setValue(10);
         Field<QComboBox>(d, "sizeIndex").setCurrentIndex(0);
       },
       [](CGraphElement& e, CEditorContext& c) {
         auto& a = static_cast<CAsciiGE&>(e);
         a.SetCharCount(10);
         a.SetSizeIndex(0);
         a.UpdateSize(c);
       }},
      {kTypeEventList,
       [](CElementDialog& d) {
         Field<QCheckBox>(d, "showNumber").setChecked(true);
         Field<QComboBox>(d, "dateStyle").setCurrentIndex(2);
         Field<QComboBox>(d, "dateSeparator").setCurrentIndex(2);
         Field<QComboBox>(d, "timeStyle").setCurrentIndex(1);
         Field<QSpinBox>(d, "wordValue").setValue(65535);
         Field<QCheckBox>(d, "reverse").setChecked(true);
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& l = static_cast<CEventListGE&>(e);
         l.m_ShowNumber = 1, l.m_DateStyle = 2, l.m_DateSeparator = 2, l.m_TimeStyle = 1, l.m_WordValue = 65535;
         l.SetReverse(true);
       }},
  };
}

}  // namespace

class ElementDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void everyKindSavesWhatTheCoreSavesAsOneStep();
  void cancelChangesNothing();
  void okWithoutChangesAddsNoStep();
  void theAddressEditorRefusesAddressesOutsideTheRange();
  void aWrongAddressKeepsTheDialogOpenWithTheReason();
  void doubleSizeDoublesTheElement();
  void theFontFollowsTheLanguageAndTheBuiltinRule();

 private:
  // Selects the first element of a kind in the sample project, with its frame current.
  CGraphElement* First(int32_t a_Type);
  // Runs the element's dialog: a_Set, then OK (or Cancel).
  bool RunDialog(CGraphElement& a_Element, const std::function<void(CElementDialog&)>& a_Set, bool a_Ok = true);
  std::vector<uint8_t> Saved();

  std::unique_ptr<test::TempDir> m_Dir;
  std::unique_ptr<ScriptedInteraction> m_Ui;
  std::unique_ptr<CMainWindow> m_Window;
};

void ElementDialogTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui);
  test::WriteSampleProject(m_Dir->File("sample/SAMPLE.FPJ"));
  QVERIFY(m_Window->OpenProject(m_Dir->File("sample/SAMPLE.FPJ")));
}

void ElementDialogTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

CGraphElement* ElementDialogTest::First(int32_t a_Type) {
  for (const auto& frame : m_Window->Doc().GetProject()->GetFrames()) {
    for (const auto& element : frame->GetElements()) {
      if (element->GetTypeCode() != a_Type) continue;
      m_Window->Editor().SetCurrentFrame(frame.get());
      m_Window->Editor().Select(element.get());
      return element.get();
    }
  }
  return nullptr;
}

bool ElementDialogTest::RunDialog(CGraphElement& a_Element, const std::function<void(CElementDialog&)>& a_Set,
                                  bool a_Ok) {
  m_Window->m_PrepareElementDialog = [&](CElementDialog& a_Dialog) {
    a_Set(a_Dialog);
    QMetaObject::invokeMethod(&a_Dialog, a_Ok ? "accept" : "reject", Qt::QueuedConnection);
  };
  const bool changed = m_Window->EditElementProperties(a_Element);
  m_Window->m_PrepareElementDialog = nullptr;
  return changed;
}

std::vector<uint8_t> ElementDialogTest::Saved() {
  if (!m_Window->SaveProject()) return {};
  return test::ReadFile(m_Window->Doc().GetPathName());
}

void ElementDialogTest::everyKindSavesWhatTheCoreSavesAsOneStep() {
  for (const CKindChange& change : Changes()) {
    CGraphElement* element = First(change.m_Type);
    QVERIFY2(element != nullptr, qPrintable(QString("kind %1").arg(change.m_Type)));
    const std::vector<uint8_t> before = Saved();
    const std::size_t steps = m_Window->Editor().History().UndoCount();
    QVERIFY2(RunDialog(*element, change.m_InDialog), qPrintable(QString("kind %1").arg(change.m_Type)));
    QCOMPARE(m_Window->Editor().History().UndoCount(), steps + 1);
    QVERIFY(m_Window->Doc().IsModified());
    const std::vector<uint8_t> byDialog = Saved();
    QVERIFY(byDialog != before);
    // One undo takes the whole dialog back.
    QVERIFY(m_Window->Editor().Undo());
    QVERIFY2(Saved() == before, qPrintable(QString("undo of kind %1").arg(change.m_Type)));
    // The same change through the core gives the same file.
    QVERIFY(m_Window->Editor().EditElement(
        *element, [&](CGraphElement& a_E) { change.m_InCore(a_E, m_Window->Doc().Context()); }));
    QVERIFY2(Saved() == byDialog, qPrintable(QString("core of kind %1").arg(change.m_Type)));
  }
}

void ElementDialogTest::cancelChangesNothing() {
  for (const CKindChange& change : Changes()) {
    CGraphElement* element = First(change.m_Type);
    QVERIFY(element != nullptr);
    const std::size_t steps = m_Window->Editor().History().UndoCount();
    QVERIFY(!RunDialog(*element, change.m_InDialog, false));
    QCOMPARE(m_Window->Editor().History().UndoCount(), steps);
    QVERIFY(!m_Window->Doc().IsModified());
  }
}

void ElementDialogTest::okWithoutChangesAddsNoStep() {
  for (const CKindChange& change : Changes()) {
    CGraphElement* element = First(change.m_Type);
    QVERIFY(!RunDialog(*element, [](CElementDialog&) {}));
    QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{0});
  }
}

void ElementDialogTest::theAddressEditorRefusesAddressesOutsideTheRange() {
  CEditorContext& context = m_Window->Doc().Context();
  CAddrEditor words(context, false);
  words.TypeBox().setCurrentText("LW");
  QCOMPARE(words.RangeHint(), QString("DDD(0~255)"));
  std::string problem;
  for (const auto& [text, ok] : std::vector<std::pair<QString, bool>>{
           {"0", true}, {"254", true}, {"255", true}, {"256", false}, {"-1", false}, {"12x", false}, {"", false}}) {
    words.AddressBox().setText(text);
    problem.clear();
    QCOMPARE(words.Address(&problem).has_value(), ok);
    if (!ok) QVERIFY2(problem.find("DDD(0~255)") != std::string::npos, problem.c_str());
  }
  words.TypeBox().setCurrentText("RW");
  words.AddressBox().setText("511");
  QVERIFY(words.Address().has_value());
  words.AddressBox().setText("512");
  QVERIFY(!words.Address().has_value());

  CAddrEditor bits(context, true);
  bits.TypeBox().setCurrentText("LW.B");
  bits.AddressBox().setText("3");
  QVERIFY(bits.SubAddressBox().isEnabled());
  QVERIFY(!bits.IndexBox().isEnabled());
  bits.SubAddressBox().setText("F");
  std::optional<CAddr> addr = bits.Address();
  QVERIFY(addr.has_value());
  QCOMPARE(addr->m_Address, 3);
  QCOMPARE(addr->m_SubAddress, 15);
  QCOMPARE(addr->m_Width, int32_t{CAddr::kBit});
  bits.SubAddressBox().setText("10");
  QVERIFY(!bits.Address().has_value());
  // Internal registers are little-endian words.
  QCOMPARE(bits.ByteOrder(), QString::fromUtf8("低字节在前"));

  // A port type: its range from the PLC model, in the model's base; the station is the port's.
  CAddrEditor port(context, false);
  port.PortBox().setCurrentIndex(port.PortBox().findData(0));
  port.TypeBox().setCurrentText("4x");
  const CRegisterType* type = context.GetPortModel(0)->FindRegisterType(false, "4x");
  QVERIFY(type != nullptr);
  QCOMPARE(port.RangeHint().toStdString(), RangeText(*type));
  QVERIFY(port.StationBox().isEnabled());
  for (const auto& [value, ok] : std::vector<std::pair<int64_t, bool>>{{type->m_AddressMin - 1, false},
                                                                      {type->m_AddressMin, true},
                                                                      {type->m_AddressMax, true},
                                                                      {int64_t{type->m_AddressMax} + 1, false}}) {
    port.AddressBox().setText(QString::fromStdString(value < 0 ? "-" + FormatInBase(-value, type->m_AddressBase)
                                                               : FormatInBase(value, type->m_AddressBase)));
    std::optional<CAddr> entered = port.Address();
    QCOMPARE(entered.has_value(), ok);
    if (ok) QCOMPARE(entered->m_Port, 0);
  }
}

void ElementDialogTest::aWrongAddressKeepsTheDialogOpenWithTheReason() {
  CGraphElement* element = First(kTypeRegister);
  m_Ui->Clear();
  bool stillOpen = false;
  m_Window->m_PrepareElementDialog = [&](CElementDialog& a_Dialog) {
    SetAddr(a_Dialog, "LW", "256");
    QTimer::singleShot(0, &a_Dialog, [&] {
      a_Dialog.accept();
      stillOpen = a_Dialog.isVisible();
      a_Dialog.reject();
    });
  };
  QVERIFY(!m_Window->EditElementProperties(*element));
  m_Window->m_PrepareElementDialog = nullptr;
  QVERIFY(stillOpen);
  QCOMPARE(m_Ui->Messages().size(), std::size_t{1});
  QVERIFY(m_Ui->Messages()[0].find("DDD(0~255)") != std::string::npos);
  QVERIFY(!m_Window->Doc().IsModified());
}

void ElementDialogTest::doubleSizeDoublesTheElement() {
  CGraphElement* element = First(kTypeBar);
  const int32_t width = element->GetWidth(), height = element->GetHeight();
  QVERIFY(RunDialog(*element, [](CElementDialog& d) { Field<QCheckBox>(d, "doubleSize").setChecked(true); }));
  QVERIFY(element->IsDoubleSize());
  QCOMPARE(element->GetWidth(), width * 2);
  QCOMPARE(element->GetHeight(), height * 2);
  QVERIFY(element->GetRect().m_Right <= m_Window->Editor().Screen().m_Right);
  // Opened again and left as it is, the doubled element stays as it was.
  QVERIFY(!RunDialog(*element, [](CElementDialog&) {}));
  QVERIFY(RunDialog(*element, [](CElementDialog& d) { Field<QCheckBox>(d, "doubleSize").setChecked(false); }));
  QCOMPARE(element->GetWidth(), width);
}

void ElementDialogTest::theFontFollowsTheLanguageAndTheBuiltinRule() {
  // The sample's languages, one more with another font.
  CLangDefine& languages = m_Window->Doc().GetProject()->GetLangDefine();
  languages.m_Items.push_back(std::make_unique<CLangDefineItem>(0x0411, "DejaVu Sans"));
  const int last = static_cast<int>(languages.m_Items.size()) - 1;
  auto* text = static_cast<CStaticText*>(First(kTypeStaticText));
  QVERIFY(RunDialog(*text, [last](CElementDialog& d) {
    auto& language = Field<QComboBox>(d, "language");
    QCOMPARE(language.count(), last + 1);
    QVERIFY(language.itemText(last).contains("0x0411"));
    language.setCurrentIndex(last);
    emit language.activated(last);
    QCOMPARE(Field<QComboBox>(d, "face").currentText(), QString("DejaVu Sans"));
    // The built-in ASCII font is a choice at 12 and 16 pixels only.
    auto& size = Field<QComboBox>(d, "sizeIndex");
    auto& builtin = Field<QCheckBox>(d, "builtin");
    const bool enabled[] = {false, true, true, false, false};
    for (int index = 0; index < 5; ++index) {
      size.setCurrentIndex(index);
      QCOMPARE(builtin.isEnabled(), enabled[index]);
    }
    size.setCurrentIndex(3);
  }));
  QCOMPARE(text->GetFace(), std::string("DejaVu Sans"));
  QCOMPARE(text->GetSizeIndex(), 3);
  QCOMPARE(text->GetHeight(), 24);
}

QTEST_MAIN(ElementDialogTest)
#include "ElementDialogTest.moc"
