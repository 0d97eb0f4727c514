// The loaders' dialog on Qt's offscreen platform, against the emulated panel over loopback UDP:
// a download through the button, the bar's text, the messages, the one-shot build closing
// after its download, and a close while the worker runs.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <thread>

#include "loader/dialog/DownloadDialog.h"
#include "loader/dialog/ProgressWidget.h"
#include "loader/emulator/EmulatorServer.h"
#include "tests/TestSupport.h"
#include "tests/loader/LoaderTestSupport.h"

using namespace nd620;

namespace {

// The emulated panel served on a thread for the length of a test.
class Served {
 public:
  explicit Served(const EmulatorConfig& a_Config) : m_Server(a_Config) {
    std::string error;
    if (!m_Server.OpenUdp(0, error)) qFatal("%s", error.c_str());
    m_Thread = std::thread([this] { m_Server.Run(0, 0); });
  }
  ~Served() {
    m_Server.Stop();
    m_Thread.join();
  }
  DialogSetup Setup(const std::string& a_Package, bool a_OneShot) const {
    DialogSetup setup;
    if (a_OneShot) {
      setup.m_Program = "ND620Loader";
      setup.m_Caption = "KD820Loader";
      setup.m_OneShot = true;
    }
    setup.m_Path = a_Package;
    setup.m_Transport.m_Kind = kNetwork;
    setup.m_Transport.m_Address = "127.0.0.1";
    setup.m_Transport.m_Port = std::to_string(m_Server.UdpPort());
    setup.m_Transport.m_UnitMs = 300;
    setup.m_Timing = {0, 0, 10, 5};
    return setup;
  }
  const PanelEmulator& Panel() const { return m_Server.Panel(); }

 private:
  EmulatorServer m_Server;
  std::thread m_Thread;
};

}  // namespace

class DownloadDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_Dir = std::make_unique<test::TempDir>();
    m_Package = m_Dir->File("Pump.td");
    test::WriteFile(m_Package, looptest::MakePackage(looptest::Pattern(3000), {looptest::Pattern(40, 2), {}},
                                                     {looptest::Pattern(600, 3), 4}, looptest::Source{looptest::Pattern(60, 4), 4}));
  }
  void cleanup() { m_Dir.reset(); }

  void theButtonDownloadsAndTheBarTellsTheLastStage() {
    EmulatorConfig config;
    config.m_GuiVersion = 1;  // older than the package's 4: the firmware goes first
    Served served(config);
    DownloadDialog dialog(served.Setup(m_Package, false));
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("KD820Transfer"));
    QCOMPARE(dialog.PathField()->text(), QString::fromStdString(m_Package));
    QVERIFY(dialog.SelectButton() != nullptr);
    QTest::mouseClick(dialog.DownloadButton(), Qt::LeftButton);
    QVERIFY(!dialog.DownloadButton()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(dialog.DownloadButton()->isEnabled(), 10000);
    QVERIFY(dialog.LastResult());
    QVERIFY(dialog.Messages().empty());
    QTRY_COMPARE(dialog.Bar()->State().GetCaption(), std::string("Burn Driver(0) success!"));
    QVERIFY(dialog.isVisible());  // ND620Transfer stays for more downloads
    QVERIFY(served.Panel().Last(1) != nullptr);
    QVERIFY(served.Panel().Last(2) != nullptr);
    QCOMPARE(served.Panel().Last(2)->m_Bytes, looptest::Pattern(3000));
    // The picture for the documentation, half way through a section.
    ProgressBar half;
    half.SetRange(0, 2);
    half.SetCaption("Download User data:");
    half.SetPos(1);
    dialog.Bar()->SetState(half);
    dialog.PathField()->setText("/home/engineer/projects/Pump/Pump.td");
    const QString shot = qEnvironmentVariable("KD820_LOADER_SHOT");
    if (!shot.isEmpty()) QVERIFY(dialog.grab().save(shot));
    QVERIFY(dialog.AboutText().startsWith("KD820Transfer version "));
  }

  void aFailureIsShownAsItsMessage() {
    EmulatorConfig config;
    config.m_GuiVersion = 0xFFFF;
    config.m_RefuseCode = 0x10;
    Served served(config);
    DownloadDialog dialog(served.Setup(m_Package, false));
    dialog.show();
    QTest::mouseClick(dialog.DownloadButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(dialog.DownloadButton()->isEnabled(), 10000);
    QVERIFY(!dialog.LastResult());
    QTRY_COMPARE(dialog.Messages().size(), std::size_t{1});
    QCOMPARE(dialog.Messages()[0], std::string("Erase flash failed!"));
  }

  void theLoaderClosesAfterItsDownload() {
    EmulatorConfig config;
    config.m_GuiVersion = 0xFFFF;
    Served served(config);
    DownloadDialog dialog(served.Setup(m_Package, true));
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("KD820Loader"));
    QVERIFY(dialog.SelectButton() == nullptr);
    QVERIFY(dialog.PathField() == nullptr);
    dialog.ForceBox()->setChecked(true);
    QTest::mouseClick(dialog.DownloadButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
    QVERIFY(dialog.LastResult());
    QVERIFY(served.Panel().Last(1) != nullptr);  // forced: the firmware went although it was current
  }

  void closingWhileTheWorkerRunsStopsItFirst() {
    EmulatorConfig config;
    config.m_GuiVersion = 0xFFFF;
    config.m_DelayMs = 20;  // slow replies: the download takes a while
    Served served(config);
    auto dialog = std::make_unique<DownloadDialog>(served.Setup(m_Package, false));
    dialog->show();
    QTest::mouseClick(dialog->DownloadButton(), Qt::LeftButton);
    QTest::qWait(150);
    QVERIFY(dialog->Running());
    dialog->close();
    QVERIFY(!dialog->Running());
    dialog.reset();  // destroyed with no worker left behind
    QVERIFY(served.Panel().Restarts() == 0);
  }

 private:
  std::unique_ptr<test::TempDir> m_Dir;
  std::string m_Package;
};

QTEST_MAIN(DownloadDialogTest)
#include "DownloadDialogTest.moc"
