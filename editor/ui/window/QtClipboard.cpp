#include "editor/ui/window/QtClipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kd820 {

std::string CQtClipboard::MimeType(const std::string& a_Format) { return "application/x-kd820-" + a_Format; }

void CQtClipboard::SetData(const std::string& a_Format, std::vector<uint8_t> a_Bytes) {
  auto* data = new QMimeData;
  data->setData(QString::fromStdString(MimeType(a_Format)),
                QByteArray(reinterpret_cast<const char*>(a_Bytes.data()), static_cast<qsizetype>(a_Bytes.size())));
  QGuiApplication::clipboard()->setMimeData(data);
}

bool CQtClipboard::HasFormat(const std::string& a_Format) const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasFormat(QString::fromStdString(MimeType(a_Format)));
}

std::optional<std::vector<uint8_t>> CQtClipboard::GetData(const std::string& a_Format) const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QString type = QString::fromStdString(MimeType(a_Format));
  if (data == nullptr || !data->hasFormat(type)) return std::nullopt;
  const QByteArray bytes = data->data(type);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void CQtClipboard::Clear() {
  // Only what the editor put there: another program's contents stay.
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr) return;
  for (const QString& format : data->formats()) {
    if (format.startsWith(QString::fromStdString(MimeType("")))) {
      QGuiApplication::clipboard()->clear();
      return;
    }
  }
}

}  // namespace kd820
