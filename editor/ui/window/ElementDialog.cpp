#include "editor/ui/window/ElementDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cfloat>

#include "common/ImageFormat.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/EditCommands.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TextMetrics.h"
#include "editor/screens/TrendGE.h"
#include "editor/ui/window/QtText.h"
#include "editor/ui/window/AddrEditor.h"
#include "editor/ui/window/ElementTexts.h"
#include "platform/UserInteraction.h"

namespace kd820 {

namespace {

template <class T>
T& As(CGraphElement& a_Element) {
  return static_cast<T&>(a_Element);
}

QSpinBox* Spin(QFormLayout* a_Form, const char* a_Label, const char* a_Name, int a_Min, int a_Max, int a_Value) {
  auto* box = new QSpinBox;
  box->setObjectName(a_Name);
  box->setRange(a_Min, a_Max);
  box->setValue(a_Value);
  a_Form->addRow(Text(a_Label), box);
  return box;
}

QDoubleSpinBox* Real(QFormLayout* a_Form, const char* a_Label, const char* a_Name, double a_Value) {
  auto* box = new QDoubleSpinBox;
  box->setObjectName(a_Name);
  box->setRange(-FLT_MAX, FLT_MAX);
  box->setDecimals(3);
  box->setValue(a_Value);
  a_Form->addRow(Text(a_Label), box);
  return box;
}

QCheckBox* Check(QFormLayout* a_Form, const char* a_Label, const char* a_Name, int32_t a_Value) {
  auto* box = new QCheckBox(Text(a_Label));
  box->setObjectName(a_Name);
  box->setChecked(a_Value != 0);
  a_Form->addRow(QString(), box);
  return box;
}

template <std::size_t N>
QComboBox* Choice(QFormLayout* a_Form, const char* a_Label, const char* a_Name, const char* const (&a_Items)[N],
                  int a_Value) {
  auto* box = new QComboBox;
  box->setObjectName(a_Name);
  for (const char* item : a_Items) box->addItem(Text(item));
  box->setCurrentIndex(a_Value >= 0 && a_Value < static_cast<int>(N) ? a_Value : 0);
  a_Form->addRow(Text(a_Label), box);
  return box;
}

// The display's height as the canvas takes it (64 rows without a model).
int32_t DisplayHeight(const CEditorContext& a_Context) {
  const int32_t height = a_Context.CurrentHardwareModel().m_ResolutionY;
  return height > 0 ? height : 64;
}

int32_t On(const QCheckBox* a_Box) { return a_Box->isChecked() ? 1 : 0; }

const char* const kDataTypeNames[] = {elemtext::kTypeSigned, elemtext::kTypeUnsigned, elemtext::kTypeHex,
                                  elemtext::kTypeFloat,  elemtext::kTypeDouble,   elemtext::kTypeSecret};
const char* const kSizes[] = {"8", "12", "16", "24", "32"};
const char* const kAlignments[] = {elemtext::kAlignLeft, elemtext::kAlignCentre, elemtext::kAlignRight};
const char* const kShapes[] = {elemtext::kShapeRound, elemtext::kShapeSquare};
const char* const kDirectionNames[] = {elemtext::kDirUp, elemtext::kDirDown, elemtext::kDirLeft, elemtext::kDirRight};
const char* const kClasses[] = {elemtext::kClassFrame, elemtext::kClassBit, elemtext::kClassWord};

}  // namespace

CElementDialog::CElementDialog(CEditorContext& a_Context, const CKV410Project& a_Project,
                               const CGraphElement& a_Element, IUserInteraction& a_Ui, QWidget* a_Parent)
    : QDialog(a_Parent), m_Context(a_Context), m_Project(a_Project), m_Copy(a_Element.Clone()), m_Ui(a_Ui) {
  setWindowTitle(Text(elemtext::kElementProperties) + " - " + QString::fromStdString(a_Element.GetName()));
  const int32_t type = a_Element.GetTypeCode();
  m_SelfSizing = type == kTypeStaticText || type == kTypeDynamicText || type == kTypeRegister || type == kTypeAscii;
  m_Tabs = new QTabWidget;
  m_Tabs->setTabBarAutoHide(true);
  auto* general = new QWidget;
  m_General = new QHBoxLayout(general);
  auto* form = new QFormLayout;
  m_General->addLayout(form);
  BuildGeneral(form);
  BuildKind(form);
  m_Tabs->insertTab(0, general, Text(elemtext::kPageGeneral));
  m_Tabs->setCurrentIndex(0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_Tabs);
  layout->addWidget(buttons);
}

CElementDialog::~CElementDialog() = default;

void CElementDialog::BuildGeneral(QFormLayout* a_Form) {
  const CGraphElement& e = *m_Copy;
  auto* name = new QLineEdit(QString::fromStdString(e.GetName()));
  name->setReadOnly(true);
  a_Form->addRow(Text(elemtext::kName), name);
  QSpinBox* left = Spin(a_Form, elemtext::kLeft, "left", -9999, 9999, e.GetLeft());
  QSpinBox* top = Spin(a_Form, elemtext::kTop, "top", -9999, 9999, e.GetTop());
  QSpinBox* width = Spin(a_Form, elemtext::kWidth, "width", 1, 9999, e.GetWidth());
  QSpinBox* height = Spin(a_Form, elemtext::kHeight, "height", 1, 9999, e.GetHeight());
  // The text kinds size themselves from their text and font.
  width->setEnabled(!m_SelfSizing);
  height->setEnabled(!m_SelfSizing);
  QCheckBox* reverse = Check(a_Form, elemtext::kReverse, "reverse", e.IsReverse());
  QCheckBox* doubleSize = Check(a_Form, elemtext::kDoubleSize, "doubleSize", e.IsDoubleSize());
  m_Writers.push_back([=, this](CGraphElement& a_E) {
    a_E.SetPosition(left->value(), top->value());
    if (!m_SelfSizing) {
      a_E.SetWidth(width->value());
      a_E.SetHeight(height->value());
    }
    a_E.SetReverse(reverse->isChecked());
    // Settings of the kind apply to the single size; the double size is put back last.
    if (a_E.IsDoubleSize()) a_E.SetDoubleSize(false, m_Context.DisplayWidth(), DisplayHeight(m_Context));
  });
  // Run after the kind's writers (see ApplyTo).
  m_DoubleSize = doubleSize;
}

void CElementDialog::AddInputOrder(QFormLayout* a_Form) {
  // The stored value: 0xFFFF, the default, counts as 1, and stays as stored unless changed.
  const uint32_t stored = m_Copy->CGraphElement::GetInputOrder();
  const int shown = stored == CGraphElement::kNotInFocusOrder ? 1 : static_cast<int>(stored);
  QSpinBox* order = Spin(a_Form, elemtext::kInputOrder, "inputOrder", 0, 65534, shown);
  m_Writers.push_back([order, shown](CGraphElement& a_E) {
    if (order->value() != shown) a_E.SetInputOrder(static_cast<uint32_t>(order->value()));
  });
}

void CElementDialog::AddAddressPage(bool a_Bits) {
  CAddr* addr = nullptr;
  m_Copy->VisitAddresses([&](CAddr& a_Addr) { addr = &a_Addr; });
  m_Addr = new CAddrEditor(m_Context, a_Bits);
  if (addr != nullptr) m_Addr->SetAddress(*addr);
  // Beside the element's settings, as the address belongs to them.
  auto* group = new QGroupBox(Text(elemtext::kPageRegister));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(m_Addr);
  layout->addStretch();
  m_General->addWidget(group, 0, Qt::AlignTop);
  m_Writers.push_back([this](CGraphElement& a_E) {
    std::optional<CAddr> entered = m_Addr->Address();
    if (!entered) return;
    a_E.VisitAddresses([&](CAddr& a_Addr) { a_Addr.CopyFrom(*entered); });
  });
}

void CElementDialog::AddFont(QFormLayout* a_Form, int32_t a_SizeIndex, const std::string& a_Face, int32_t a_Builtin) {
  QComboBox* size = Choice(a_Form, elemtext::kFontSize, "sizeIndex", kSizes, a_SizeIndex);
  // The languages of the project, each with its font: choosing one takes its font.
  auto* language = new QComboBox;
  language->setObjectName("language");
  const CLangDefine& languages = m_Project.GetLangDefine();
  for (std::size_t i = 0; i < languages.m_Items.size(); ++i) {
    // "1: 0x0804 (宋体)": the language's place, its identifier and its font.
    const QString font = QString::fromStdString(languages.m_Items[i]->m_FontName);
    language->addItem(QString("%1: 0x%2 (%3)").arg(i + 1).arg(languages.m_Items[i]->m_LanguageId, 4, 16, QChar('0')).arg(font),
                      font);
  }
  a_Form->addRow(Text(elemtext::kLanguage), language);
  auto* face = new QComboBox;
  face->setObjectName("face");
  face->setEditable(true);
  for (std::size_t i = 0; i < languages.m_Items.size(); ++i) face->addItem(QString::fromStdString(languages.m_Items[i]->m_FontName));
  for (const QString& family : QFontDatabase::families()) {
    if (face->findText(family) < 0) face->addItem(family);
  }
  face->setCurrentText(QString::fromStdString(a_Face));
  for (int i = 0; i < language->count(); ++i) {
    if (language->itemData(i).toString() == face->currentText()) language->setCurrentIndex(i);
  }
  a_Form->addRow(Text(elemtext::kFace), face);
  connect(language, &QComboBox::activated, face, [language, face] { face->setCurrentText(language->currentData().toString()); });
  QCheckBox* builtin = Check(a_Form, elemtext::kBuiltinFont, "builtin", a_Builtin);
  // The built-in ASCII font is a choice for 12 and 16 pixels only: 8 always uses it, 24 and 32 never.
  const auto follow = [size, builtin, face] {
    const int index = size->currentIndex();
    builtin->setEnabled(index == 1 || index == 2);
    face->setEnabled(!UsesBuiltinFont(index, builtin->isChecked() ? 1 : 0));
  };
  connect(size, &QComboBox::currentIndexChanged, this, follow);
  connect(builtin, &QCheckBox::toggled, this, follow);
  follow();
  m_Writers.push_back([=](CGraphElement& a_E) {
    const int32_t index = size->currentIndex();
    const std::string chosen = face->currentText().toStdString();
    const int32_t on = On(builtin);
    switch (a_E.GetTypeCode()) {
      case kTypeStaticText:
        As<CStaticText>(a_E).SetSizeIndex(index), As<CStaticText>(a_E).SetFace(chosen),
            As<CStaticText>(a_E).SetBuiltinOption(on);
        break;
      case kTypeDynamicText:
        As<CDynamicText>(a_E).SetSizeIndex(index), As<CDynamicText>(a_E).SetFace(chosen),
            As<CDynamicText>(a_E).SetBuiltinOption(on);
        break;
      case kTypeAscii:
        As<CAsciiGE>(a_E).SetSizeIndex(index), As<CAsciiGE>(a_E).SetFace(chosen),
            As<CAsciiGE>(a_E).SetBuiltinOption(on);
        break;
      default:
        break;
    }
  });
}

void CElementDialog::BuildKind(QFormLayout* a_Form) {
  CGraphElement& e = *m_Copy;
  switch (e.GetTypeCode()) {
    case kTypeLed: {
      const auto& led = As<CLedGE>(e);
      QComboBox* shape = Choice(a_Form, elemtext::kShape, "shape", kShapes, led.m_Shape);
      QSpinBox* size = Spin(a_Form, elemtext::kImageSize, "imageSize", 0, 99, led.m_Size);
      QCheckBox* invert = Check(a_Form, elemtext::kInvert, "invert", led.m_Invert);
      QCheckBox* blink = Check(a_Form, elemtext::kBlink, "blink", led.m_Blink);
      QCheckBox* whileOn = Check(a_Form, elemtext::kBlinkWhileOn, "blinkWhileOn", led.m_BlinkWhileOn);
      QSpinBox* period = Spin(a_Form, elemtext::kBlinkPeriod, "blinkPeriod", 0, 65535, led.m_BlinkPeriod);
      // How it blinks matters only while it blinks.
      const auto follow = [=] {
        whileOn->setEnabled(blink->isChecked());
        period->setEnabled(blink->isChecked());
      };
      connect(blink, &QCheckBox::toggled, this, follow);
      follow();
      m_Writers.push_back([=](CGraphElement& a_E) {
        auto& l = As<CLedGE>(a_E);
        l.m_Shape = shape->currentIndex();
        l.m_Size = size->value();
        l.m_Invert = On(invert);
        l.m_Blink = On(blink);
        l.m_BlinkWhileOn = On(whileOn);
        l.m_BlinkPeriod = period->value();
      });
      AddAddressPage(true);
      break;
    }
    case kTypeFunckey: {
      const auto& key = As<CFunckeyGE>(e);
      QSpinBox* number = Spin(a_Form, elemtext::kKeyNumber, "keyNumber", 0, 63, key.m_KeyNumber);
      QComboBox* actionClass = Choice(a_Form, elemtext::kActionClass, "actionClass", kClasses, key.m_ActionClass);
      QComboBox* frameAction =
          Choice(a_Form, elemtext::kFrameAction, "frameAction", elemtext::kFrameActions, key.m_JumpFrame.m_Action);
      QSpinBox* target =
          Spin(a_Form, elemtext::kTargetFrame, "targetFrame", 1, 65535, key.m_JumpFrame.m_FrameNumber);
      QComboBox* bitAction =
          Choice(a_Form, elemtext::kBitAction, "bitAction", elemtext::kBitActions, key.m_BitSet.m_Action);
      QComboBox* wordAction =
          Choice(a_Form, elemtext::kWordAction, "wordAction", elemtext::kWordActions, key.m_WordSet.m_Action);
      QSpinBox* value = Spin(a_Form, elemtext::kValue, "value", INT32_MIN, INT32_MAX, key.m_WordSet.m_Value);
      QSpinBox* limit = Spin(a_Form, elemtext::kLimit, "limit", INT32_MIN, INT32_MAX, key.m_WordSet.m_Limit);
      QSpinBox* delay = Spin(a_Form, elemtext::kRepeatDelay, "repeatDelay", 0, 65535, key.m_WordSet.m_RepeatDelay);
      QSpinBox* repeat =
          Spin(a_Form, elemtext::kRepeatPeriod, "repeatPeriod", 0, 65535, key.m_WordSet.m_RepeatPeriod);
      QCheckBox* onPress = Check(a_Form, elemtext::kRepeatOnPress, "repeatOnPress", key.m_WordSet.m_RepeatOnPress);
      QCheckBox* restore = Check(a_Form, elemtext::kRestoreLevel, "restoreLevel", key.m_RestoreLevel);
      QSpinBox* grade = Spin(a_Form, elemtext::kGrade, "grade", 0, 63, key.m_Grade);
      QCheckBox* exclude = Check(a_Form, elemtext::kExclude, "exclude", key.m_Exclude);
      AddInputOrder(a_Form);
      AddAddressPage(key.m_ActionClass == CFunckeyGE::kBitAction);
      // Only the chosen action's fields apply; a bit action addresses a bit, a word action a word.
      const auto follow = [=, this] {
        const int c = actionClass->currentIndex();
        frameAction->setEnabled(c == CFunckeyGE::kFrameAction);
        target->setEnabled(c == CFunckeyGE::kFrameAction && frameAction->currentIndex() == CJumpFrame::kJump);
        bitAction->setEnabled(c == CFunckeyGE::kBitAction);
        for (QWidget* w : std::initializer_list<QWidget*>{wordAction, value, limit, delay, repeat, onPress}) {
          w->setEnabled(c == CFunckeyGE::kWordAction);
        }
        m_Addr->setEnabled(c != CFunckeyGE::kFrameAction);
        if (c != CFunckeyGE::kFrameAction) m_Addr->SetBits(c == CFunckeyGE::kBitAction);
      };
      connect(actionClass, &QComboBox::currentIndexChanged, this, follow);
      connect(frameAction, &QComboBox::currentIndexChanged, this, follow);
      follow();
      m_Writers.push_back([=](CGraphElement& a_E) {
        auto& k = As<CFunckeyGE>(a_E);
        k.m_KeyNumber = number->value();
        k.m_ActionClass = actionClass->currentIndex();
        k.m_JumpFrame.m_Action = frameAction->currentIndex();
        k.m_JumpFrame.m_FrameNumber = static_cast<uint16_t>(target->value());
        k.m_BitSet.m_Action = bitAction->currentIndex();
        k.m_WordSet.m_Action = wordAction->currentIndex();
        k.m_WordSet.m_Value = value->value();
        k.m_WordSet.m_Limit = limit->value();
        k.m_WordSet.m_RepeatDelay = delay->value();
        k.m_WordSet.m_RepeatPeriod = repeat->value();
        k.m_WordSet.m_RepeatOnPress = On(onPress);
        k.m_RestoreLevel = On(restore);
        k.m_Grade = grade->value();
        k.m_Exclude = On(exclude);
      });
      break;
    }
    case kTypeStaticText: {
      const auto& text = As<CStaticText>(e);
      auto* edit = new QLineEdit(QString::fromStdString(text.GetText()));
      edit->setObjectName("text");
      a_Form->addRow(Text(elemtext::kText), edit);
      AddFont(a_Form, text.GetSizeIndex(), text.GetFace(), text.GetBuiltinOption());
      // After the font: the entered text is fitted to the display in the chosen font.
      m_Writers.push_back([this, edit](CGraphElement& a_E) {
        auto& text = As<CStaticText>(a_E);
        text.SetText(FitTextToWidth(m_Context, edit->text().toStdString(), text.GetSizeIndex(),
                                    text.UsesBuiltinFont(), text.GetFace(), m_Context.DisplayWidth()));
      });
      break;
    }
    case kTypeDynamicText: {
      const auto& text = As<CDynamicText>(e);
      QComboBox* alignment = Choice(a_Form, elemtext::kAlignment, "alignment", kAlignments, text.m_Alignment);
      AddFont(a_Form, text.GetSizeIndex(), text.GetFace(), text.GetBuiltinOption());
      auto* states = new QTableWidget(CDynamicText::kStateCount, 1);
      states->setObjectName("states");
      states->setHorizontalHeaderLabels({Text(elemtext::kStateText)});
      states->horizontalHeader()->setStretchLastSection(true);
      for (int value = 1; value <= CDynamicText::kStateCount; ++value) {
        states->setVerticalHeaderItem(value - 1, new QTableWidgetItem(QString::number(value)));
        states->setItem(value - 1, 0, new QTableWidgetItem(QString::fromStdString(text.GetState(value)->m_Text)));
      }
      m_Tabs->addTab(states, Text(elemtext::kPageStates));
      m_Writers.push_back([=](CGraphElement& a_E) {
        auto& d = As<CDynamicText>(a_E);
        d.m_Alignment = alignment->currentIndex();
        for (int value = 1; value <= CDynamicText::kStateCount; ++value) {
          d.GetState(value)->m_Text = states->item(value - 1, 0)->text().toStdString();
        }
      });
      AddAddressPage(false);
      break;
    }
    case kTypeRegister: {
      const auto& reg = As<CRegisterGE>(e);
      QComboBox* type = Choice(a_Form, elemtext::kDataType, "dataType", kDataTypeNames, reg.m_Type);
      QSpinBox* digits = Spin(a_Form, elemtext::kIntegerDigits, "integerDigits", 1, 20, reg.m_ShowBits);
      QSpinBox* decimals = Spin(a_Form, elemtext::kDecimalDigits, "decimalDigits", 0, 20, reg.m_FloatBits);
      QCheckBox* wide = Check(a_Form, elemtext::kRegister32, "register32", reg.m_RegWidth);
      QCheckBox* zeros = Check(a_Form, elemtext::kFillZero, "fillZero", reg.m_FillZero);
      QComboBox* size = Choice(a_Form, elemtext::kFontSize, "sizeIndex", kSizes, reg.m_SizeIndex);
      QComboBox* alignment = Choice(a_Form, elemtext::kAlignment, "alignment", kAlignments, reg.m_Alignment);
      QCheckBox* input = Check(a_Form, elemtext::kInputEnabled, "inputEnabled", reg.m_Setting);
      QSpinBox* grade = Spin(a_Form, elemtext::kGrade, "grade", 0, 63, reg.m_Grade);
      QCheckBox* limits = Check(a_Form, elemtext::kLimitEnabled, "limitEnabled", reg.m_Limit);
      QDoubleSpinBox* inUpper = Real(a_Form, elemtext::kInputUpper, "inputUpper", reg.m_InputUpper);
      QDoubleSpinBox* inLower = Real(a_Form, elemtext::kInputLower, "inputLower", reg.m_InputLower);
      QCheckBox* projection = Check(a_Form, elemtext::kProjection, "projection", reg.m_Projection);
      QDoubleSpinBox* prjUpper = Real(a_Form, elemtext::kProjectionUpper, "projectionUpper", reg.m_PrjUpper);
      QDoubleSpinBox* prjLower = Real(a_Form, elemtext::kProjectionLower, "projectionLower", reg.m_PrjLower);
      QCheckBox* restore = Check(a_Form, elemtext::kRestoreLevel, "restoreLevel", reg.m_RestoreLevel);
      AddInputOrder(a_Form);
      // The input settings apply while input is enabled, each range while it is switched on.
      const auto follow = [=] {
        for (QWidget* w : std::initializer_list<QWidget*>{grade, limits, restore}) w->setEnabled(input->isChecked());
        inUpper->setEnabled(input->isChecked() && limits->isChecked());
        inLower->setEnabled(input->isChecked() && limits->isChecked());
        prjUpper->setEnabled(projection->isChecked());
        prjLower->setEnabled(projection->isChecked());
      };
      for (QCheckBox* box : {input, limits, projection}) connect(box, &QCheckBox::toggled, this, follow);
      follow();
      m_Writers.push_back([=](CGraphElement& a_E) {
        auto& r = As<CRegisterGE>(a_E);
        r.m_Type = type->currentIndex();
        r.m_ShowBits = static_cast<uint8_t>(digits->value());
        r.m_FloatBits = static_cast<uint8_t>(decimals->value());
        r.m_RegWidth = static_cast<uint8_t>(On(wide));
        r.m_FillZero = On(zeros);
        r.m_SizeIndex = size->currentIndex();
        r.m_Alignment = alignment->currentIndex();
        r.m_Setting = On(input);
        r.m_Grade = static_cast<uint8_t>(grade->value());
        r.m_Limit = On(limits);
        r.m_InputUpper = inUpper->value();
        r.m_InputLower = inLower->value();
        r.m_Projection = On(projection);
        r.m_PrjUpper = prjUpper->value();
        r.m_PrjLower = prjLower->value();
        r.m_RestoreLevel = On(restore);
      });
      AddAddressPage(false);
      break;
    }
    case kTypeBar: {
      const auto& bar = As<CBarGE>(e);
      QComboBox* type = Choice(a_Form, elemtext::kDataType, "dataType", kDataTypeNames, bar.m_DataType);
      QCheckBox* wide = Check(a_Form, elemtext::kRegister32, "register32", bar.m_RegWidth);
      QComboBox* direction = Choice(a_Form, elemtext::kDirection, "direction", kDirectionNames, bar.m_DrawDir);
      QDoubleSpinBox* upper = Real(a_Form, elemtext::kUpper, "upper", bar.m_Upper);
      QDoubleSpinBox* lower = Real(a_Form, elemtext::kLower, "lower", bar.m_Lower);
      m_Writers.push_back([=](CGraphElement& a_E) {
        auto& b = As<CBarGE>(a_E);
        b.m_DataType = type->currentIndex();
        b.m_RegWidth = On(wide);
        b.m_DrawDir = direction->currentIndex();
        b.m_Upper = upper->value();
        b.m_Lower = lower->value();
      });
      AddAddressPage(false);
      break;
    }
    case kTypeTrend: {
      const auto& trend = As<CTrendGE>(e);
      QComboBox* type = Choice(a_Form, elemtext::kDataType, "dataType", kDataTypeNames, trend.m_DataType);
      QCheckBox* wide = Check(a_Form, elemtext::kRegister32, "register32", trend.m_RegWidth);
      QDoubleSpinBox* upper = Real(a_Form, elemtext::kUpper, "upper", trend.m_Upper);
      QDoubleSpinBox* lower = Real(a_Form, elemtext::kLower, "lower", trend.m_Lower);
      QSpinBox* points = Spin(a_Form, elemtext::kPoints, "points", 1, 65535, trend.m_Points);
      QSpinBox* period = Spin(a_Form, elemtext::kPeriod, "period", 1, 65535, trend.m_Period);
      m_Writers.push_back([=](CGraphElement& a_E) {
        auto& t = As<CTrendGE>(a_E);
        t.m_DataType = type->currentIndex();
        t.m_RegWidth = On(wide);
        t.m_Upper = upper->value();
        t.m_Lower = lower->value();
        t.m_Points = points->value();
        t.m_Period = period->value();
      });
      AddAddressPage(false);
      break;
    }
    case kTypePicture: {
      const auto& picture = As<CPictureGE>(e);
      auto* item = new QComboBox;
      item->setObjectName("bitmap");
      for (const auto& libItem : m_Project.GetBitmapLib().m_Items) {
        item->addItem(QString("%1 (%2x%3)").arg(libItem->m_Id).arg(libItem->m_Width).arg(libItem->m_Height),
                      libItem->m_Id);
      }
      item->setCurrentIndex(item->findData(picture.m_ItemId));
      a_Form->addRow(Text(elemtext::kBitmap), item);
      QCheckBox* compress = Check(a_Form, elemtext::kCompress, "compress", picture.m_Trait.m_Compress);
      QCheckBox* reverse = Check(a_Form, elemtext::kPictureReverse, "pictureReverse", picture.m_Trait.m_Reverse);
      QCheckBox* critical = Check(a_Form, elemtext::kCritical, "critical", picture.m_Trait.m_Critical);
      QCheckBox* leftFill = Check(a_Form, elemtext::kLeftFill, "leftFill", picture.m_Trait.m_LeftFill);
      m_Writers.push_back([=](CGraphElement& a_E) {
        auto& p = As<CPictureGE>(a_E);
        if (item->currentIndex() >= 0) p.m_ItemId = item->currentData().toInt();
        p.m_Trait.m_Compress = On(compress);
        p.m_Trait.m_Reverse = On(reverse);
        p.m_Trait.m_Critical = On(critical);
        p.m_Trait.m_LeftFill = On(leftFill);
      });
      break;
    }
    case kTypeAscii: {
      const auto& ascii = As<CAsciiGE>(e);
      QSpinBox* count = Spin(a_Form, elemtext::kCharCount, "charCount", 1, 255, ascii.GetCharCount());
      AddFont(a_Form, ascii.GetSizeIndex(), ascii.GetFace(), ascii.GetBuiltinOption());
      m_Writers.push_back([=](CGraphElement& a_E) { As<CAsciiGE>(a_E).SetCharCount(count->value()); });
      AddAddressPage(false);
      break;
    }
    case kTypeEventList: {
      const auto& list = As<CEventListGE>(e);
      QCheckBox* number = Check(a_Form, elemtext::kShowNumber, "showNumber", list.m_ShowNumber);
      QCheckBox* date = Check(a_Form, elemtext::kShowDate, "showDate", list.m_ShowDate);
      QComboBox* dateStyle = Choice(a_Form, elemtext::kDateStyle, "dateStyle", elemtext::kDateStyles, list.m_DateStyle);
      QComboBox* separator =
          Choice(a_Form, elemtext::kDateSeparator, "dateSeparator", elemtext::kSeparators, list.m_DateSeparator);
      QCheckBox* year = Check(a_Form, elemtext::kFourDigitYear, "fourDigitYear", list.m_FourDigitYear);
      QCheckBox* zero = Check(a_Form, elemtext::kNoLeadingZero, "noLeadingZero", list.m_NoLeadingZero);
      QCheckBox* time = Check(a_Form, elemtext::kShowTime, "showTime", list.m_ShowTime);
      QComboBox* timeStyle = Choice(a_Form, elemtext::kTimeStyle, "timeStyle", elemtext::kTimeStyles, list.m_TimeStyle);
      QCheckBox* flag1 = Check(a_Form, elemtext::kFurtherFlag1, "furtherFlag1", list.m_FurtherFlag1);
      QCheckBox* flag2 = Check(a_Form, elemtext::kFurtherFlag2, "furtherFlag2", list.m_FurtherFlag2);
      QSpinBox* byteValue = Spin(a_Form, elemtext::kByteValue, "byteValue", 0, 255, list.m_ByteValue);
      QSpinBox* wordValue = Spin(a_Form, elemtext::kWordValue, "wordValue", 0, 65535, list.m_WordValue);
      // The date's and the time's styles apply while they are shown.
      const auto follow = [=] {
        for (QWidget* w : std::initializer_list<QWidget*>{dateStyle, separator, year, zero}) w->setEnabled(date->isChecked());
        timeStyle->setEnabled(time->isChecked());
      };
      connect(date, &QCheckBox::toggled, this, follow);
      connect(time, &QCheckBox::toggled, this, follow);
      follow();
      m_Writers.push_back([=](CGraphElement& a_E) {
        auto& l = As<CEventListGE>(a_E);
        l.m_ShowNumber = On(number);
        l.m_ShowDate = On(date);
        l.m_DateStyle = dateStyle->currentIndex();
        l.m_DateSeparator = separator->currentIndex();
        l.m_FourDigitYear = On(year);
        l.m_NoLeadingZero = On(zero);
        l.m_ShowTime = On(time);
        l.m_TimeStyle = timeStyle->currentIndex();
        l.m_FurtherFlag1 = On(flag1);
        l.m_FurtherFlag2 = On(flag2);
        l.m_ByteValue = static_cast<uint8_t>(byteValue->value());
        l.m_WordValue = static_cast<uint16_t>(wordValue->value());
      });
      break;
    }
    default:
      break;
  }
}

std::string CElementDialog::AddressProblem() const {
  std::string problem;
  if (m_Addr != nullptr && m_Addr->isEnabled() && !m_Addr->Address(&problem)) return problem;
  return {};
}

void CElementDialog::accept() {
  const std::string problem = AddressProblem();
  if (!problem.empty()) {
    m_Ui.ShowMessage(problem, elemtext::kElementProperties, MessageIcon::Warning);
    return;
  }
  QDialog::accept();
}

void CElementDialog::ApplyTo(CGraphElement& a_Element) const {
  const auto serialize = [&](CArchive& a_Ar) { a_Element.Serialize(a_Ar); };
  const std::vector<uint8_t> before = CArchivedState::Capture(serialize);
  for (const Writer& write : m_Writers) write(a_Element);
  // A changed element sizes itself anew from its settings, as each of its setters does; one
  // left as it was keeps its size.
  if (CArchivedState::Capture(serialize) != before) a_Element.UpdateSize(m_Context);
  if (m_DoubleSize->isChecked()) a_Element.SetDoubleSize(true, m_Context.DisplayWidth(), DisplayHeight(m_Context));
}

}  // namespace kd820
