#include "editor/ui/window/LanguageDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "editor/fonts/FontRasterizer.h"
#include "editor/project/KV410Project.h"
#include "editor/ui/window/DialogParts.h"
#include "editor/ui/window/SettingsTexts.h"
#include "platform/UserInteraction.h"

namespace kd820 {

using dialogparts::Text;

namespace {

// "中文 (中国) zh_CN": the language and territory in their own words, and the locale.
QString LocaleText(std::string_view a_Name) {
  const QString name = QString::fromLatin1(a_Name.data(), static_cast<qsizetype>(a_Name.size()));
  const QLocale locale(name);
  return QString("%1 (%2) %3").arg(locale.nativeLanguageName(), locale.nativeTerritoryName(), name);
}

}  // namespace

CLanguageDialog::CLanguageDialog(const CKV410Project& a_Project, IUserInteraction& a_Ui, QWidget* a_Parent)
    : QDialog(a_Parent), m_Ui(a_Ui) {
  setWindowTitle(Text(settext::kLanguageTitle));
  const auto& items = a_Project.GetLangDefine().m_Items;
  auto* form = new QFormLayout;
  m_Count = new QComboBox;
  m_Count->setObjectName("languageCount");
  for (int n = 1; n <= CLangDefine::kMaxLanguages; ++n) m_Count->addItem(QString::number(n), n);
  m_Count->setCurrentIndex(items.empty() ? -1 : std::min<int>(static_cast<int>(items.size()), CLangDefine::kMaxLanguages) - 1);
  form->addRow(Text(settext::kLanguageCount), m_Count);

  std::vector<std::string> used = {DefaultFontName()};
  for (const auto& item : items) used.push_back(item->m_FontName);
  const QStringList families = dialogparts::FontFamilies(used);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(Text(settext::kFont)), 0, 2);
  for (int row = 0; row < CLangDefine::kMaxLanguages; ++row) {
    const auto at = static_cast<std::size_t>(row);
    auto* language = new QComboBox;
    language->setObjectName(QString("language%1").arg(row + 1));
    language->addItem(QString());  // none chosen
    for (const CLocaleLanguage& known : KnownLocaleLanguages()) language->addItem(LocaleText(known.m_Name), known.m_LanguageId);
    auto* font = new QComboBox;
    font->setObjectName(QString("font%1").arg(row + 1));
    font->addItem(QString());  // none chosen
    font->addItems(families);
    if (at < items.size()) {
      const uint16_t id = items[at]->m_LanguageId;
      // A language the catalogue does not know is offered by its identifier.
      if (language->findData(id) < 0) language->addItem(QString("0x%1").arg(id, 4, 16, QChar('0')), id);
      language->setCurrentIndex(language->findData(id));
      font->setCurrentIndex(std::max(0, font->findText(QString::fromStdString(items[at]->m_FontName))));
    }
    m_Languages[at] = language;
    m_Fonts[at] = font;
    grid->addWidget(new QLabel(Text(settext::kLanguageFormat).arg(row + 1)), row + 1, 0);
    grid->addWidget(language, row + 1, 1);
    grid->addWidget(font, row + 1, 2);
  }
  auto* messages = new QFormLayout;
  m_Messages = new QComboBox;
  m_Messages->setObjectName("panelMessages");
  for (const char* name : settext::kPanelMessageNames) m_Messages->addItem(Text(name));
  m_Messages->setCurrentIndex((a_Project.GetSettings().m_Flags & CGlobalSettings::kOwnMessageLanguage) != 0 ? 1 : 0);
  messages->addRow(Text(settext::kPanelMessages), m_Messages);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(grid);
  layout->addLayout(messages);
  layout->addWidget(dialogparts::OkCancel(this));
  connect(m_Count, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

int CLanguageDialog::Count() const { return m_Count->currentIndex() < 0 ? 0 : m_Count->currentData().toInt(); }

std::vector<CLanguageRow> CLanguageDialog::Rows() const {
  std::vector<CLanguageRow> rows;
  for (std::size_t i = 0; i < m_Languages.size(); ++i) {
    CLanguageRow row;
    const QVariant id = m_Languages[i]->currentData();
    if (id.isValid()) row.m_LanguageId = static_cast<uint16_t>(id.toUInt());
    row.m_FontName = m_Fonts[i]->currentText().toStdString();
    rows.push_back(std::move(row));
  }
  return rows;
}

bool CLanguageDialog::MessagesInFirstLanguage() const { return m_Messages->currentIndex() <= 0; }

void CLanguageDialog::UpdateEnabled() {
  const int count = Count();
  for (int row = 0; row < CLangDefine::kMaxLanguages; ++row) {
    m_Languages[static_cast<std::size_t>(row)]->setEnabled(row < count);
    m_Fonts[static_cast<std::size_t>(row)]->setEnabled(row < count);
  }
}

void CLanguageDialog::accept() {
  // The core's rule decides on a scratch project; the real one changes after OK.
  CKV410Project scratch;
  if (auto message = ApplyLanguageDialog(scratch, Count(), Rows(), MessagesInFirstLanguage())) {
    m_Ui.ShowMessage(*message, settext::kLanguageTitle, MessageIcon::Warning);
    return;
  }
  QDialog::accept();
}

}  // namespace kd820
