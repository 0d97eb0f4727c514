// The element dialog of every kind: what is set there is saved as the same file the same
// change gives through the core, as one undoable step; Cancel changes nothing; the address
// editor refuses addresses outside their type's range.
#include <QAction>
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
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/FrameTree.h"
#include "editor/ui/window/MainWindow.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/ElementChanges.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

namespace {

using test::Field;
using test::SetAddr;
using test::CKindChange;
using test::Changes;

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
  void aDoubleClickOrTheMenuOpensTheDialogOfTheElement();

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

void ElementDialogTest::aDoubleClickOrTheMenuOpensTheDialogOfTheElement() {
  m_Window->resize(900, 480);
  m_Window->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_Window.get()));
  CGraphElement* bar = First(kTypeBar);
  m_Window->Editor().SelectNone();
  std::vector<std::string> opened;
  m_Window->m_PrepareElementDialog = [&](CElementDialog& a_Dialog) {
    opened.push_back(a_Dialog.windowTitle().toStdString());
    QMetaObject::invokeMethod(&a_Dialog, "reject", Qt::QueuedConnection);
  };
  CFrameCanvas& canvas = m_Window->Canvas();
  const auto at = [&](int a_X, int a_Y) {
    return canvas.Origin() + QPoint(a_X * canvas.Zoom() + canvas.Zoom() / 2, a_Y * canvas.Zoom() + canvas.Zoom() / 2);
  };
  QTest::mouseDClick(&canvas, Qt::LeftButton, {}, at(bar->GetLeft() + 1, bar->GetTop() + 1));
  QCOMPARE(opened.size(), std::size_t{1});
  QVERIFY(opened[0].ends_with(bar->GetName()));
  // The double-clicked element is the selection.
  QCOMPARE(m_Window->Editor().Selection().Reference(), bar);
  // The Edit menu's entry opens the selected element's dialog; with nothing selected it is off.
  m_Window->Action("elementProperties")->trigger();
  QCOMPARE(opened.size(), std::size_t{2});
  m_Window->Editor().SelectNone();
  QVERIFY(!m_Window->Action("elementProperties")->isEnabled());
  // So does a double click on its item in the frame tree.
  QTreeWidgetItem* item = m_Window->Tree().ElementItem(bar);
  QVERIFY(item != nullptr);
  m_Window->Tree().setCurrentItem(item);
  QCOMPARE(m_Window->Editor().Selection().Reference(), bar);
  emit m_Window->Tree().itemDoubleClicked(item, 0);
  QCOMPARE(opened.size(), std::size_t{3});
  QVERIFY(opened[2].ends_with(bar->GetName()));
  m_Window->Editor().SelectNone();
  // A double click beside every element opens nothing.
  QTest::mouseDClick(&canvas, Qt::LeftButton, {}, canvas.Origin() - QPoint(4, 4));
  QCOMPARE(opened.size(), std::size_t{3});
  m_Window->m_PrepareElementDialog = nullptr;
  QVERIFY(!m_Window->Doc().IsModified());
}

QTEST_MAIN(ElementDialogTest)
#include "ElementDialogTest.moc"
