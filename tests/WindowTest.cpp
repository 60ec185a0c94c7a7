// The window and its models, driven as a user would (offscreen).
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDial>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "app/FieldValuesDialog.h"
#include "app/MainWindow.h"
#include "app/NumberField.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"
#include "app/WatermarkView.h"
#include "app/models/DocumentTableModel.h"
#include "app/models/PageRenderQueue.h"
#include "common/Value.h"
#include "output/PageSelection.h"
#include "output/SavePipeline.h"
#include "tests/TestPdf.h"
#include "tests/TestSupport.h"

namespace quillsheet {

namespace fs = std::filesystem;

class WindowTest : public QObject {
  Q_OBJECT

 private:
  // Answers the next modal dialog that appears with answer(dialog).
  template <typename Dialog>
  void WhenShown(std::function<void(Dialog*)> answer) {
    auto* timer = new QTimer(this);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, this, [timer, answer] {
      if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
        timer->stop();
        timer->deleteLater();
        answer(dialog);
      }
    });
    timer->start();
  }

  // Answers the next destination dialog with the path.
  void ChooseDestination(const fs::path& path) {
    WhenShown<QFileDialog>([path](QFileDialog* dialog) {
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path.string()));
      QMetaObject::invokeMethod(dialog, "accept");
    });
  }

  // Keeps the next message's text in said and closes the message.
  void KeepMessage(QString& said) {
    WhenShown<QMessageBox>([&said](QMessageBox* box) {
      said = box->text();
      box->accept();
    });
  }

  // Shows the window and adds the files; returns when they are listed.
  static void ShowWith(MainWindow& window, const std::vector<fs::path>& files) {
    window.show();
    window.AddPaths(files, false);
    QTRY_COMPARE(window.documents().Count(), files.size());
    QTRY_VERIFY(!window.Busy());
  }

  static fs::path Locked(const fs::path& folder) {
    const fs::path plain = test::WriteTestPdf(folder / "plain.pdf", {{}, {}});
    QPDF pdf;
    pdf.processFile(plain.c_str());
    const fs::path locked = folder / "locked.pdf";
    QPDFWriter writer(pdf, locked.c_str());
    writer.setR6EncryptionParameters("user", "owner", true, true, true, true, true, true,
                                     qpdf_r3p_full, true);
    writer.write();
    return locked;
  }

 private slots:
  void initTestCase() { InstallTranslations(*QCoreApplication::instance()); }

  // Every text of the catalogue has its English wording, and the window
  // shows it under the names that documentation and screen readers use.
  void everyTextHasItsEnglishWording() {
    QFile catalogue(QUILLSHEET_SOURCE_DIR "/resources/translations/quillsheet_en.ts");
    QVERIFY(catalogue.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&catalogue);
    int ids = 0;
    while (reader.readNextStartElement() || !reader.atEnd()) {
      if (!reader.isStartElement() || reader.name() != QLatin1String("message")) continue;
      const QString id = reader.attributes().value("id").toString();
      const QByteArray key = id.toUtf8();
      const bool counted = reader.attributes().value("numerus") == QLatin1String("yes");
      const QString english = qtTrId(key.constData(), counted ? 2 : -1);
      QVERIFY2(!english.isEmpty() && english != id, key.constData());
      QVERIFY2(!english.contains("%n"), key.constData());
      ++ids;
    }
    QVERIFY(ids > 50);
    test::ScratchHome home;
    MainWindow window;
    QStringList texts;
    for (const QAction* action : window.findChildren<QAction*>()) texts << action->text();
    for (const char* name : {"Add", "Remove", "Remove All", "Convert", "Convert All", "Thumbnails",
                             "Preferences", "Help"}) {
      QVERIFY2(texts.contains(QString::fromLatin1(name)), name);
    }
    QCOMPARE(window.findChild<QTableView*>("documentTable")->accessibleName(), "Documents");
    QCOMPARE(window.windowTitle(), "Quillsheet");
  }

  // Every editor control has the name documentation and screen readers use
  // (pop-ups carry it as their accessible name; Qt reads their value on
  // Linux and relates them to their label).
  void editorControlsHaveTheirNames() {
    test::ScratchHome home;
    MainWindow window;
    window.show();
    QStringList names;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
      if (!widget->accessibleName().isEmpty()) names << widget->accessibleName();
      if (QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget)) {
        names << face->text(QAccessible::Name);
      }
    }
    for (const char* name :
         {"Text Watermark", "Text",          "Font",          "Font Style",    "Size",
          "Mode",           "Text Colour",   "Stroke",        "Opacity",       "Angle",
          "Shadow",         "Shadow Colour", "Blur",          "X Offset",      "Y Offset",
          "Layout",         "Fit",           "Distance",      "Text Position", "Fill Watermark",
          "Fill Style",     "Fill Size",     "Fill Opacity",  "Fill Position", "First Page",
          "Previous Page",  "Page Number",   "Next Page",     "Last Page",     "Add Preset",
          "Remove Preset",  "Save Preset",   "Revert Preset", "Preview",       "Presets",
          "Documents",      "Thumbnails"}) {
      QVERIFY2(names.contains(QString::fromUtf8(name)), name);
    }
    auto* kinds = window.findChild<QTabWidget*>("backgroundFillOptionTabOutlet");
    QCOMPARE(kinds->tabText(0), QString("Colour"));
    QCOMPARE(kinds->tabText(2), QString("Image"));
  }

  // Rows appear as a worker adds them and go as they are removed, checked by
  // Qt's model tester all the way.
  void documentModelFollowsTheList() {
    test::ScratchHome home;
    DocumentList list(false);
    DocumentTableModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    std::vector<fs::path> files;
    for (const char* name : {"a.pdf", "b.pdf", "c.pdf"}) {
      files.push_back(test::WriteTestPdf(home.path() / name, {{}, {}, {}}));
    }
    std::thread adder([&] { list.Add(files, false, nullptr); });
    adder.join();
    QTRY_COMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(0, DocumentTableModel::PagesColumn), Qt::DisplayRole), 3);
    QCOMPARE(model.data(model.index(0, DocumentTableModel::NameColumn), Qt::DisplayRole),
             QStringLiteral("a.pdf"));
    list.Remove({0, 2});
    QTRY_COMPARE(model.rowCount(), 1);
    list.MoveRows({0}, 0);
    list.RemoveAll();
    QTRY_COMPARE(model.rowCount(), 0);
  }

  // Rows 0 and 1 of five dropped above row 4 land at rows 2 and 3; the whole
  // list is never dragged; a drop on a row is refused; files and folders
  // from a file manager are handed over to be added.
  void documentRowsMoveAndFilesDrop() {
    test::ScratchHome home;
    DocumentList list(false);
    DocumentTableModel model(list);
    std::vector<fs::path> files;
    for (int i = 0; i < 5; ++i) {
      files.push_back(test::WriteTestPdf(home.path() / ("d" + std::to_string(i) + ".pdf"),
                                         std::vector<test::TestPage>(i + 1)));
    }
    list.Add(files, false, nullptr);
    QTRY_COMPARE(model.rowCount(), 5);
    std::unique_ptr<QMimeData> all(
        model.mimeData({model.index(0, 0), model.index(1, 0), model.index(2, 0), model.index(3, 0),
                        model.index(4, 0)}));
    QVERIFY(!all);
    std::unique_ptr<QMimeData> two(model.mimeData({model.index(0, 0), model.index(1, 0)}));
    QVERIFY(two);
    QVERIFY(!model.canDropMimeData(two.get(), Qt::MoveAction, -1, -1, model.index(3, 0)));
    QVERIFY(model.dropMimeData(two.get(), Qt::MoveAction, 4, 0, {}));
    QTRY_COMPARE(model.data(model.index(2, 0), Qt::DisplayRole), QStringLiteral("d0.pdf"));
    QCOMPARE(model.data(model.index(3, 0), Qt::DisplayRole), QStringLiteral("d1.pdf"));
    QCOMPARE(model.data(model.index(4, 0), Qt::DisplayRole), QStringLiteral("d4.pdf"));

    std::vector<fs::path> dropped;
    size_t droppedAt = 99;
    model.SetFilesDropped([&](std::vector<fs::path> paths, size_t at) {
      dropped = std::move(paths);
      droppedAt = at;
    });
    QMimeData fromFileManager;
    fromFileManager.setUrls({QUrl::fromLocalFile(QString::fromStdString(home.path().string()))});
    QVERIFY(model.dropMimeData(&fromFileManager, Qt::CopyAction, -1, -1, model.index(1, 0)));
    QCOMPARE(dropped, std::vector<fs::path>{home.path()});
    QCOMPARE(droppedAt, size_t{1});  // on a row: before it
    QVERIFY(model.dropMimeData(&fromFileManager, Qt::CopyAction, -1, -1, {}));
    QCOMPARE(droppedAt, size_t{5});  // below the rows: at the end
  }

  // Pages are drawn off the main thread; a newer request for a slot replaces
  // one not yet started, and each picture comes back with its generation.
  void pagesAreRenderedOffTheMainThread() {
    test::ScratchHome home;
    const fs::path file = test::WriteTestPdf(home.path() / "p.pdf", {{}, {300, 600, 0, "", ""}});
    OpenError error = OpenError::None;
    std::string message;
    std::shared_ptr<SourceDocument> document = SourceDocument::Open(file, "", error, message);
    QVERIFY(document);
    PageRenderQueue queue;
    std::vector<std::tuple<int, int, QSize>> received;
    connect(&queue, &PageRenderQueue::Rendered, this,
            [&](int slot, int generation, const QImage& image, SizeF, bool) {
              received.emplace_back(slot, generation, image.size());
            });
    for (int generation = 1; generation <= 20; ++generation) {
      queue.Render({7, generation, document, 1, QSize(100, 100), std::nullopt, {}});
    }
    queue.Render({3, 21, document, 0, QSize(612, 792), std::nullopt, {}});
    QTRY_VERIFY(!received.empty() && std::get<0>(received.back()) == 3);
    QVERIFY(received.size() < 21);  // replaced requests were never drawn
    QCOMPARE(std::get<2>(received.back()), QSize(612, 792));
    const auto last7 = std::find_if(received.rbegin(), received.rend(),
                                    [](const auto& r) { return std::get<0>(r) == 7; });
    QVERIFY(last7 != received.rend());
    QCOMPARE(std::get<1>(*last7), 20);
    QCOMPARE(std::get<2>(*last7), QSize(50, 100));  // fitted, upright
  }

  // The preview shows a page as the output will have it: a page the page
  // selection leaves out has no mark, and a note says why. The page number
  // tells screen readers where they are.
  void previewShowsPagesAsTheOutputHasThem() {
    test::ScratchHome home;
    GeneralPreferences odd;
    odd.pageRangeOptionTag = kOddPages;
    QVERIFY(WriteGeneralPrefOptions(odd, 0));
    const fs::path pdf = test::WriteTestPdf(home.path() / "two.pdf", {{}, {}});
    MainWindow window;
    ShowWith(window, {pdf});
    auto* view = window.findChild<WatermarkView*>("preview");
    auto* number = window.findChild<QToolButton*>("pageNumberButton");
    QTRY_VERIFY(view->pagePoints().width > 0);
    QTRY_VERIFY(!view->accessibleDescription().contains("Select a document"));
    QCOMPARE(number->accessibleDescription(), QString("Page 1 of 2"));
    window.findChild<QToolButton*>("nextPageButton")->click();
    QTRY_VERIFY(view->accessibleDescription().contains("not marked"));
    QVERIFY(view->accessibleDescription().contains("Odd pages"));
    QCOMPARE(number->accessibleDescription(), QString("Page 2 of 2"));

    // The left-out page is drawn exactly as the page alone.
    OpenError error = OpenError::None;
    std::string message;
    const std::shared_ptr<SourceDocument> document = SourceDocument::Open(pdf, "", error, message);
    PageRenderQueue queue;
    std::map<int, std::pair<QImage, bool>> drawn;
    connect(&queue, &PageRenderQueue::Rendered, this,
            [&](int slot, int, const QImage& image, SizeF, bool, bool leftOut) {
              drawn[slot] = {image, leftOut};
            });
    WatermarkSettings marked = window.Library().GetPresetSettingsForIndex(0);
    QVERIFY(marked.textEnabled);
    PageRenderQueue::Request request{1, 1, document, 1, QSize(200, 200), marked, {}};
    request.selectionTag = kOddPages;
    queue.Render(request);
    request.slot = 2;
    request.page = 0;
    queue.Render(request);
    queue.Render({3, 1, document, 1, QSize(200, 200), std::nullopt, {}});
    QTRY_COMPARE(drawn.size(), size_t{3});
    QVERIFY(drawn[1].second && !drawn[2].second);
    QCOMPARE(drawn[1].first, drawn[3].first);
  }

  // Remove selects the row at the first removed index; Remove All empties
  // the preview, the strip, the page buttons and the title; rows dragged
  // elsewhere stay selected.
  void removingDocumentsMovesTheSelection() {
    test::ScratchHome home;
    std::vector<fs::path> files;
    for (int i = 0; i < 4; ++i) {
      files.push_back(test::WriteTestPdf(home.path() / ("r" + std::to_string(i) + ".pdf"),
                                         std::vector<test::TestPage>(i + 1)));
    }
    MainWindow window;
    ShowWith(window, files);
    auto* table = window.findChild<QTableView*>("documentTable");
    auto* thumbnails = window.findChild<QListWidget*>("thumbnails");
    table->selectRow(1);
    QTRY_VERIFY(window.windowTitle().contains("r1.pdf"));
    window.findChild<QAction*>("actionRemove")->trigger();
    QTRY_VERIFY(window.windowTitle().contains("r2.pdf"));
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(table->selectionModel()->selectedRows().front().row(), 1);
    QCOMPARE(thumbnails->count(), 3);

    auto* model = table->model();
    std::unique_ptr<QMimeData> first(model->mimeData({model->index(0, 0)}));
    QVERIFY(model->dropMimeData(first.get(), Qt::MoveAction, 3, 0, {}));
    QTRY_VERIFY(window.windowTitle().contains("r0.pdf"));
    QCOMPARE(table->selectionModel()->selectedRows().front().row(), 2);

    window.findChild<QAction*>("actionRemoveAll")->trigger();
    QTRY_COMPARE(window.windowTitle(), QString("Quillsheet"));
    QCOMPARE(thumbnails->count(), 0);
    QVERIFY(!window.findChild<QToolButton*>("pageNumberButton")->isEnabled());
    QVERIFY(window.findChild<WatermarkView*>("preview")->accessibleDescription().contains(
        "Select a document"));
  }

  // Files dropped between rows are listed there, where the table's drop
  // line showed them going.
  void droppedFilesGoWhereTheyWereDropped() {
    test::ScratchHome home;
    const fs::path a = test::WriteTestPdf(home.path() / "a.pdf", {{}});
    const fs::path b = test::WriteTestPdf(home.path() / "b.pdf", {{}});
    const fs::path c = test::WriteTestPdf(home.path() / "c.pdf", {{}});
    MainWindow window;
    ShowWith(window, {a, b});
    QAbstractItemModel* model = window.findChild<QTableView*>("documentTable")->model();
    QMimeData drop;
    drop.setUrls({QUrl::fromLocalFile(QString::fromStdString(c.string()))});
    QVERIFY(model->dropMimeData(&drop, Qt::CopyAction, 1, 0, {}));
    QTRY_COMPARE(window.documents().Count(), size_t{3});
    QTRY_VERIFY(!window.Busy());
    QCOMPARE(window.documents().Snapshot()[1].path, c);
    QTRY_COMPARE(model->data(model->index(1, 0), Qt::DisplayRole), QStringLiteral("c.pdf"));
  }

  // Adds asked for while one runs wait in line and all arrive.
  void addsWaitInLine() {
    test::ScratchHome home;
    std::vector<fs::path> files;
    for (int i = 0; i < 6; ++i) {
      files.push_back(test::WriteTestPdf(home.path() / ("q" + std::to_string(i) + ".pdf"), {{}}));
    }
    MainWindow window;
    window.show();
    for (const fs::path& file : files) window.AddPaths({file}, false);
    QVERIFY(window.Busy());
    QTRY_COMPARE(window.documents().Count(), files.size());
    QTRY_VERIFY(!window.Busy());
  }

  // A text with fields is previewed with the values of the page on screen;
  // the Fields switch stores "textFields".
  void previewFillsInTheFieldsOfThePageOnScreen() {
    test::ScratchHome home;
    const fs::path file = test::WriteTestPdf(home.path() / "p.pdf", {{}, {}, {}});
    OpenError error = OpenError::None;
    std::string message;
    std::shared_ptr<SourceDocument> document = SourceDocument::Open(file, "", error, message);
    QVERIFY(document);
    PageRenderQueue queue;
    std::map<int, QImage> pictures;
    connect(&queue, &PageRenderQueue::Rendered, this,
            [&](int slot, int, const QImage& image, SizeF, bool) { pictures[slot] = image; });
    WatermarkSettings fields = GetPresetSettingsFrom(nullptr);
    fields.fillEnabled = false;
    fields.textFields = true;
    fields.textString = "{file} {page}/{pages} {who}";
    WatermarkSettings written = fields;
    written.textFields = false;
    written.textString = "p 2/3 {who}";
    queue.Render({1, 0, document, 1, QSize(300, 300), fields, {{"file", "p"}}});
    QTRY_VERIFY(pictures.count(1));
    queue.Render({2, 0, document, 1, QSize(300, 300), written, {}});
    QTRY_VERIFY(pictures.count(2));
    QCOMPARE(pictures[1], pictures[2]);

    MainWindow window;
    window.show();
    auto* box = window.findChild<QCheckBox*>("textFieldsCheckBox");
    QVERIFY(box && box->accessibleName() == "Fields");
    QVERIFY(!window.Library().GetPresetSettingsForIndex(window.Library().selectedRow()).textFields);
    box->click();
    QVERIFY(window.Library().GetPresetSettingsForIndex(window.Library().selectedRow()).textFields);
  }

  // A text with a field of the user's own asks for its value before the
  // destination; the run then fills it in.
  void fieldsOfTheUsersOwnAreAskedForBeforeARun() {
    test::ScratchHome home;
    const fs::path input = test::WriteTestPdf(home.path() / "a.pdf", {{}});
    const fs::path out = home.path() / "out.pdf";
    MainWindow window;
    ShowWith(window, {input});
    window.findChild<QCheckBox*>("textFieldsCheckBox")->click();
    window.findChild<QLineEdit*>("textTextFieldOutlet")->setText("for {recipient} on {page}");
    QStringList asked;
    WhenShown<FieldValuesDialog>([&](FieldValuesDialog* dialog) {
      for (auto* line : dialog->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
        asked << line->accessibleName();
        line->setText("Ann");
      }
      dialog->accept();
    });
    ChooseDestination(out);
    QString report;
    KeepMessage(report);
    window.findChild<QAction*>("actionConvertAll")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!report.isEmpty(), 20000);
    QCOMPARE(asked, QStringList{"recipient"});
    QVERIFY2(report.contains("1 output(s) made"), qPrintable(report));
    QVERIFY(fs::exists(out));

    // A table gives one copy per row, into a folder, named by the template;
    // a table that cannot be read is refused and the dialog stays.
    const fs::path table = home.path() / "people.csv";
    std::ofstream(table) << "recipient\nAnn\nBob\n";
    const fs::path folder = home.path() / "copies";
    fs::create_directories(folder);
    QString refusal;
    WhenShown<FieldValuesDialog>([&](FieldValuesDialog* dialog) {
      auto* box = dialog->findChild<QGroupBox*>("fieldsTableBox");
      QCOMPARE(box->accessibleName(), QString("One copy per row of a table"));
      box->setChecked(true);
      dialog->findChild<QLineEdit*>("fieldsTablePath")
          ->setText(QString::fromStdString((home.path() / "missing.csv").string()));
      KeepMessage(refusal);
      dialog->accept();
      QVERIFY(!refusal.isEmpty());
      QVERIFY(dialog->isVisible());
      dialog->findChild<QLineEdit*>("fieldsTablePath")
          ->setText(QString::fromStdString(table.string()));
      QCOMPARE(dialog->findChild<QLineEdit*>("fieldsNameTemplate")->text(),
               QString("{file}-{recipient}"));
      ChooseDestination(folder);
      report.clear();
      KeepMessage(report);
      dialog->accept();
    });
    window.findChild<QAction*>("actionConvertAll")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(report.contains("2 output(s) made"), 20000);
    QVERIFY2(refusal.contains("missing.csv"), qPrintable(refusal));
    QStringList made;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file()) made << QString::fromStdString(entry.path().filename());
    }
    made.sort();
    QCOMPARE(made, (QStringList{"a-Ann.pdf", "a-Bob.pdf"}));
  }

  // The preview's picture is the command line's render of the same page,
  // preset, marker and scale, pixel for pixel.
  void previewEqualsTheCommandLineRender() {
    test::ScratchHome home;
    const fs::path sample = fs::path(QUILLSHEET_SOURCE_DIR) / "resources/samples/sample.pdf";
    const fs::path presets = fs::path(QUILLSHEET_SOURCE_DIR) / "resources/DefaultPreset.plist";
    const fs::path png = home.path() / "page.png";
    QProcess cli;
    cli.start(QUILLSHEET_CLI, {"render", QString::fromStdString(sample.string()), "-o",
                               QString::fromStdString(png.string()), "--page", "2", "--preset-file",
                               QString::fromStdString(presets.string()), "--name", "Draft",
                               "--scale", "2", "--marker", "text"});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 0);

    PresetLibrary library;
    QVERIFY(library.Load());
    const auto& names = library.waterMarkPresetData();
    const auto draft = std::find(names.begin(), names.end(), "Draft") - names.begin();
    WatermarkSettings settings = library.GetPresetSettingsForIndex(draft);
    settings.showMarker = true;
    settings.markerOnText = true;
    OpenError error = OpenError::None;
    std::string message;
    std::shared_ptr<SourceDocument> document = SourceDocument::Open(sample, "", error, message);
    QVERIFY(document);
    PageRenderQueue queue;
    QImage shown;
    SizeF points;
    connect(&queue, &PageRenderQueue::Rendered, this,
            [&](int, int, const QImage& image, SizeF pagePoints, bool) {
              shown = image;
              points = pagePoints;
            });
    // Fitting the page into twice its size draws it at scale 2.
    queue.Render({0, 0, document, 1, QSize(10000, 2 * 792), settings, {}});
    QTRY_VERIFY(!shown.isNull());
    QCOMPARE(points.height, 792.0);
    const QImage written(QString::fromStdString(png.string()));
    QCOMPARE(shown.size(), written.size());
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32),
             written.convertToFormat(QImage::Format_ARGB32));
  }

  // The Add panel takes a folder as chosen, and its box searches sub-folders.
  void addPanelTakesFoldersAndSubFolders() {
    test::ScratchHome home;
    fs::create_directories(home.path() / "docs" / "inner");
    test::WriteTestPdf(home.path() / "docs" / "a.pdf", {{}});
    test::WriteTestPdf(home.path() / "docs" / "inner" / "b.pdf", {{}});
    const QString docs = QString::fromStdString((home.path() / "docs").string());
    MainWindow window;
    window.show();
    // Enter on a typed folder opens it; Add Folder adds it.
    bool stayedOpen = false;
    QString shown;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      dialog->findChild<QCheckBox*>("recursiveBox")->setChecked(true);
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(docs);
      QMetaObject::invokeMethod(dialog, "accept");
      stayedOpen = dialog->isVisible();
      shown = dialog->directory().absolutePath();
      dialog->findChild<QPushButton*>("addFolderButton")->click();
    });
    window.findChild<QAction*>("actionAdd")->trigger();
    QTRY_COMPARE(window.documents().Count(), size_t{2});
    QTRY_VERIFY(!window.Busy());
    QVERIFY(stayedOpen);
    QCOMPARE(shown, docs);

    // The next add opens where the last one was left; a file listed
    // already is not listed again.
    QString opened;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      opened = dialog->directory().absolutePath();
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(docs + "/a.pdf");
      QMetaObject::invokeMethod(dialog, "accept");
    });
    window.findChild<QAction*>("actionAdd")->trigger();
    QTRY_VERIFY(window.statusBar()->currentMessage().contains("already listed"));
    QCOMPARE(opened, docs);
    QCOMPARE(window.documents().Count(), size_t{2});
  }

  // A locked file asks on the main thread for the worker, names its folder,
  // and is listed with the password; the window stays responsive meanwhile.
  void lockedFileIsUnlockedThroughThePasswordDialog() {
    test::ScratchHome home;
    const fs::path locked = Locked(home.path());
    MainWindow window;
    window.show();
    QString asked;
    WhenShown<QDialog>([&](QDialog* dialog) {
      asked = dialog->findChild<QLabel*>("message")->text();
      dialog->findChild<QLineEdit*>("passwordField")->setText("user");
      dialog->findChild<QPushButton*>("okButton")->click();
    });
    window.AddPaths({locked}, false);
    QVERIFY(window.Busy());
    QTRY_COMPARE(window.documents().Count(), size_t{1});
    QTRY_VERIFY(!window.Busy());
    QVERIFY(asked.contains(QString::fromStdString(home.path().string())));
    QCOMPARE(window.documents().Snapshot().front().password, std::string("user"));
  }

  // The sheet shows the stored preferences, Apply writes all nine keys, Reset
  // puts the reset values in, the range field shows only for a page range.
  void preferencesApplyResetAndRangeField() {
    test::ScratchHome home;
    MainWindow window;
    window.show();
    window.findChild<QAction*>("actionPreferences")->trigger();
    QDialog* sheet = nullptr;
    QTRY_VERIFY((sheet = window.findChild<QDialog*>("PreferencesDialog")) != nullptr);
    auto* quality = sheet->findChild<QComboBox*>("qualityPopup");
    auto* pages = sheet->findChild<QComboBox*>("pagesPopup");
    auto* range = sheet->findChild<QLineEdit*>("rangeField");
    auto* apply = sheet->findChild<QPushButton*>("applyButton");
    QVERIFY(!apply->isEnabled());
    QVERIFY(range->isHidden());
    quality->setCurrentIndex(quality->findData(3));
    pages->setCurrentIndex(pages->findData(6));
    QVERIFY(!range->isHidden());
    QTest::keyClicks(range, "2-4");
    QVERIFY(apply->isEnabled());
    apply->click();
    QVERIFY(!apply->isEnabled());
    const auto stored = ReadGeneralPrefOptions();
    QVERIFY(stored);
    QCOMPARE(stored->size(), size_t{9});
    const GeneralPreferences read = ApplyPreferenceDictionary(*stored);
    QCOMPARE(read.filterTag, 3);
    QCOMPARE(read.pageRangeOptionTag, 6);
    QCOMPARE(read.pageRangeString, std::string("2-4"));
    sheet->findChild<QPushButton*>("resetButton")->click();
    QCOMPARE(quality->currentData().toInt(), 0);
    QCOMPARE(pages->currentData().toInt(), 1);
    QVERIFY(sheet->findChild<QRadioButton*>("noneButton")->isChecked());
    QVERIFY(!sheet->findChild<QCheckBox*>("separatorCheckbox")->isEnabled());
    QVERIFY(apply->isEnabled());
    // A range that names no page is refused with the reason, and not used.
    pages->setCurrentIndex(pages->findData(6));
    range->clear();
    QTest::keyClicks(range, "abc");
    QCOMPARE(range->text(), QString());
    QString refusal;
    KeepMessage(refusal);
    sheet->findChild<QPushButton*>("doneButton")->click();
    QTRY_VERIFY(refusal.contains("names no page"));
    QVERIFY(sheet->isVisible());
    QTest::keyClicks(range, "3");
    sheet->findChild<QPushButton*>("doneButton")->click();
    QTRY_VERIFY(!sheet->isVisible());
  }

  // With the last preset gone nothing can be converted; preferences are
  // still kept.
  void preferencesAreStoredWithoutPresets() {
    test::ScratchHome home;
    const fs::path pdf = test::WriteTestPdf(home.path() / "a.pdf", {{}});
    {
      MainWindow window;
      ShowWith(window, {pdf});
      QVERIFY(window.findChild<QAction*>("actionConvertAll")->isEnabled());
      window.Library().SetSelection({0, 1, 2, 3, 4, 5}, 0);
      QVERIFY(window.Library().RemoveRows({0, 1, 2, 3, 4, 5}));
      QTRY_VERIFY(!window.findChild<QAction*>("actionConvertAll")->isEnabled());
      window.findChild<QAction*>("actionPreferences")->trigger();
      QDialog* sheet = nullptr;
      QTRY_VERIFY((sheet = window.findChild<QDialog*>("PreferencesDialog")) != nullptr);
      auto* pages = sheet->findChild<QComboBox*>("pagesPopup");
      pages->setCurrentIndex(pages->findData(3));
      sheet->findChild<QPushButton*>("applyButton")->click();
      sheet->findChild<QPushButton*>("doneButton")->click();
      QVERIFY(window.close());
    }
    const auto stored = ReadGeneralPrefOptions();
    QVERIFY(stored);
    QCOMPARE(ApplyPreferenceDictionary(*stored).pageRangeOptionTag, 3);
  }

  // A second launch in the same session hands its files to the running
  // window; another display has a socket of its own; the socket lives in a
  // folder only this user may enter, and one another user owns is refused.
  void secondLaunchHandsItsFilesOver() {
    test::ScratchHome home;
    const fs::path runtime = home.path() / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", runtime.c_str());
    qputenv("DISPLAY", ":7");
    qunsetenv("WAYLAND_DISPLAY");
    const auto place = SingleInstance::SessionSocket();
    QVERIFY2(place.socket, place.problem.c_str());
    QCOMPARE(place.socket->parent_path(), runtime / "quillsheet");
    QCOMPARE(fs::status(runtime / "quillsheet").permissions() & fs::perms::all,
             fs::perms::owner_all);

    SingleInstance first(*place.socket);
    QVERIFY(!first.HandOverOrListen({}));  // nobody runs yet: it listens
    QStringList received;
    int arrivals = 0;
    connect(&first, &SingleInstance::filesReceived, this, [&](const QStringList& files) {
      received = files;
      ++arrivals;
    });
    const QStringList files{"/docs/a b.pdf", QString::fromUtf8("/docs/\u00e9t\u00e9.pdf")};
    SingleInstance second(*place.socket);
    QVERIFY(second.HandOverOrListen(files));
    QTRY_COMPARE(received, files);
    QVERIFY(second.HandOverOrListen({}));  // no files: the running window is raised
    QTRY_COMPARE(arrivals, 2);
    QVERIFY(received.isEmpty());

    qputenv("DISPLAY", ":8");
    QVERIFY(*SingleInstance::SessionSocket().socket != *place.socket);

    // A runtime folder others may enter is not used.
    fs::permissions(runtime, fs::perms::others_exec, fs::perm_options::add);
    QVERIFY(!SingleInstance::SessionSocket().socket);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    if (::getuid() == 0) {
      // A folder another user made first is refused.
      QVERIFY(::chown((runtime / "quillsheet").c_str(), 65534, 65534) == 0);
      QVERIFY(!SingleInstance::SessionSocket().socket);
    }
    qunsetenv("XDG_RUNTIME_DIR");
  }

  // The destination panel is titled for its run, suggests the name the
  // naming preferences give, names the pages a conversion marks, and offers
  // to keep locked files' passwords.
  void destinationPanelSaysWhatTheRunDoes() {
    test::ScratchHome home;
    GeneralPreferences naming;
    naming.addLabelPosition = LabelPosition::AfterFileName;
    naming.addSeparator = true;
    naming.separatorString = "_";
    naming.pageRangeOptionTag = kOddPages;
    QVERIFY(WriteGeneralPrefOptions(naming, 0));
    const fs::path pdf = test::WriteTestPdf(home.path() / "report.pdf", {{}});
    MainWindow window;
    ShowWith(window, {pdf});
    QString title, name, pages;
    bool keepOffered = false;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      title = dialog->windowTitle();
      name = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
      pages = dialog->findChild<QLabel*>("pagesNote")->text();
      keepOffered = dialog->findChild<QCheckBox*>("keepInputPasswordBox") != nullptr;
      dialog->reject();
    });
    window.findChild<QAction*>("actionConvert")->trigger();
    QTRY_VERIFY(!title.isEmpty());
    QCOMPARE(title, QString("Convert"));
    QCOMPARE(name, QString("report_Confidential.pdf"));
    QVERIFY2(pages.contains("Odd pages"), qPrintable(pages));
    QVERIFY(keepOffered);
    title.clear();
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      title = dialog->windowTitle();
      dialog->reject();
    });
    window.findChild<QAction*>("actionRemoveMarks")->trigger();
    QTRY_COMPARE(title, QString("Remove Watermarks"));
  }

  // The password box of the destination panel: passwords that differ refuse
  // the conversion before anything is written; matching ones protect it.
  void protectedOutputNeedsMatchingPasswords() {
    test::ScratchHome home;
    const fs::path a = test::WriteTestPdf(home.path() / "a.pdf", {{}});
    const fs::path out = home.path() / "protected.pdf";
    MainWindow window;
    ShowWith(window, {a});
    for (const QString& verification : {QStringLiteral("other"), QStringLiteral("secret")}) {
      WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        dialog->findChild<QCheckBox*>("encryptBox")->setChecked(true);
        dialog->findChild<QLineEdit*>("passwordField")->setText("secret");
        dialog->findChild<QLineEdit*>("verifyField")->setText(verification);
        dialog->findChild<QLineEdit*>("fileNameEdit")
            ->setText(QString::fromStdString(out.string()));
        QMetaObject::invokeMethod(dialog, "accept");
      });
      QString said;
      KeepMessage(said);
      window.findChild<QAction*>("actionConvertAll")->trigger();
      QTRY_VERIFY_WITH_TIMEOUT(!said.isEmpty(), 20000);
      QTRY_VERIFY(!window.Busy());
      if (verification == "other") {
        QVERIFY2(said.contains("differ"), qPrintable(said));
        QVERIFY(!fs::exists(out));
      } else {
        QVERIFY2(said.contains("1 output(s) made"), qPrintable(said));
        QPDF pdf;
        QVERIFY_THROWS_EXCEPTION(std::exception, pdf.processFile(out.c_str(), ""));
      }
    }
  }

  // The editor shows the selected preset without storing anything; what the
  // user types goes to every selected preset, within the field's limits.
  void editorStoresOnlyWhatTheUserChanges() {
    test::ScratchHome home;
    MainWindow window;
    window.show();
    PresetLibrary& library = window.Library();
    auto* presets = window.findChild<QTableView*>("presetTable");
    presets->selectRow(1);
    presets->selectRow(3);
    QVERIFY(!library.IsModified(1) && !library.IsModified(3));

    presets->selectionModel()->select(presets->model()->index(0, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    auto* text = window.findChild<QLineEdit*>("textTextFieldOutlet");
    text->setFocus();
    text->end(false);
    QTest::keyClicks(text, "!");
    QVERIFY(library.IsModified(0) && library.IsModified(3) && !library.IsModified(1));
    QVERIFY(library.GetPresetSettingsForIndex(3).textString.ends_with("!"));

    auto* size = window.findChild<NumberField*>("fontSizeTextFieldOutlet");
    const int before = size->StepperValue();
    QGuiApplication::clipboard()->setText("1500");
    size->setFocus();
    size->selectAll();
    QTest::keySequence(size, QKeySequence::Paste);
    QCOMPARE(size->text(), QString::number(before));
    QCOMPARE(library.GetPresetSettingsForIndex(0).textFontSize, before);
    QTest::keyClick(size, Qt::Key_Up);
    QCOMPARE(library.GetPresetSettingsForIndex(0).textFontSize, before + 1);
    QCOMPARE(library.GetPresetSettingsForIndex(3).textFontSize, before + 1);

    auto* shadow = window.findChild<QCheckBox*>("dropShadowCheckBoxOutlet");
    auto* blur = window.findChild<QWidget*>("blurTextFieldOutlet");
    if (shadow->isChecked()) shadow->click();
    QVERIFY(!blur->isEnabled());
    shadow->click();
    QVERIFY(blur->isEnabled());
    QVERIFY(library.GetPresetSettingsForIndex(3).dropShadow);

    // One visibility for both layers, offered on both tabs.
    QList<QComboBox*> visibility;
    for (QComboBox* popup : window.findChildren<QComboBox*>()) {
      if (popup->accessibleName() == "Visibility") visibility << popup;
    }
    QCOMPARE(visibility.size(), 2);
    visibility[0]->setFocus();
    QTest::keyClick(visibility[0], Qt::Key_Down);  // "In print only"
    QCOMPARE(library.GetPresetSettingsForIndex(3).markVisibility, 1);
    QCOMPARE(visibility[1]->currentData().toInt(), 1);
  }

  // Looking stores nothing: opening and closing the font pop-up, the same
  // family again, the fill's kind tabs, the editor's tabs and focus leave
  // the preset as it was. Only a choice is stored.
  void lookingAtTheEditorStoresNothing() {
    test::ScratchHome home;
    MainWindow window;
    window.show();
    PresetLibrary& library = window.Library();
    auto* presets = window.findChild<QTableView*>("presetTable");
    presets->selectRow(0);
    library.setObjectToSelectedPreset(Value("DejaVuSans-Bold"), "textFont");
    library.setObjectToSelectedPreset(Value(std::int64_t{2}), "FillWatermarkOption");
    presets->selectRow(1);
    presets->selectRow(0);  // the editor shows the bold face and the image kind
    const Dictionary before =
        *DictionaryFor(library.allPresetDictionary(), library.waterMarkPresetData()[0]);
    auto* undo = window.findChild<QAction*>("actionUndo");
    QVERIFY(!undo->isEnabled());

    auto* family = window.findChild<QComboBox*>("fontComboBoxOutlet");
    family->setFocus();
    family->showPopup();
    QTest::keyClick(family->view(), Qt::Key_Escape);
    emit family->activated(family->currentIndex());  // the family on show, picked again
    QTest::keyClick(family->lineEdit(), Qt::Key_Return);
    auto* kinds = window.findChild<QTabWidget*>("backgroundFillOptionTabOutlet");
    auto* tabs = window.findChild<QTabWidget*>("watermarkOptionTabOutlet");
    tabs->setCurrentIndex(1);
    for (int kind : {0, 1, 2, 0}) kinds->setCurrentIndex(kind);
    auto* patterns = window.findChild<QListWidget*>("patternList");
    kinds->setCurrentIndex(1);
    patterns->setFocus();
    tabs->setCurrentIndex(0);
    QCOMPARE(*DictionaryFor(library.allPresetDictionary(), library.waterMarkPresetData()[0]),
             before);
    QVERIFY(!undo->isEnabled());
    QVERIFY(window.findChild<QLabel*>("fillKindLabel")->text().contains("Image"));

    // Another family is a choice; it takes the family's first face.
    const int other = family->findText("Liberation Serif");
    QVERIFY(other >= 0);
    family->setCurrentIndex(other);
    emit family->activated(other);
    QCOMPARE(library.GetPresetSettingsForIndex(0).textFont.rfind("LiberationSerif", 0), 0u);

    // A pattern picked with the arrow keys is used; a stretched style
    // becomes tiles, since a stretched tile would cover the page.
    library.setObjectToSelectedPreset(Value(std::int64_t{4}), "backStyle");
    tabs->setCurrentIndex(1);
    kinds->setCurrentIndex(1);
    patterns->setFocus();
    patterns->setCurrentRow(0);
    QTest::keyClick(patterns, Qt::Key_Right);
    const WatermarkSettings picked = library.GetPresetSettingsForIndex(0);
    QCOMPARE(picked.fillOption, 1);
    QCOMPARE(QString::fromStdString(picked.patternName),
             patterns->currentItem()->data(Qt::UserRole).toString());
    QCOMPARE(picked.backStyle, 6);
    QVERIFY(window.findChild<QLabel*>("fillKindLabel")->text().contains("Pattern"));

    // More than one preset selected: the editor says so.
    auto* editing = window.findChild<QLabel*>("editingLabel");
    QVERIFY(editing->isHidden());
    presets->selectionModel()->select(presets->model()->index(2, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTRY_VERIFY(!editing->isHidden());
    QCOMPARE(editing->text(), QString("Editing 2 presets"));
  }

  // What a screen reader does through the accessibility interfaces is
  // stored as a user's own change: switches toggled, numbers set, the
  // angle read and set in degrees.
  void screenReaderChangesAreStored() {
    test::ScratchHome home;
    MainWindow window;
    window.show();
    PresetLibrary& library = window.Library();
    window.findChild<QTableView*>("presetTable")->selectRow(1);
    const bool shadow = library.GetPresetSettingsForIndex(1).dropShadow;
    auto* box = window.findChild<QCheckBox*>("dropShadowCheckBoxOutlet");
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
    QVERIFY(face && face->actionInterface());
    face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QTRY_COMPARE(library.GetPresetSettingsForIndex(1).dropShadow, !shadow);

    auto* size = window.findChild<NumberField*>("fontSizeTextFieldOutlet");
    QAccessible::queryAccessibleInterface(size)->setText(QAccessible::Value, "48");
    QCOMPARE(library.GetPresetSettingsForIndex(1).textFontSize, 48);
    QCOMPARE(size->StepperValue(), 48);
    QAccessible::queryAccessibleInterface(size)->setText(QAccessible::Value, "1500");
    QCOMPARE(size->text(), QString("48"));
    QCOMPARE(library.GetPresetSettingsForIndex(1).textFontSize, 48);

    auto* dial = window.findChild<QDial*>("angleSliderOutlet");
    QAccessibleValueInterface* angle =
        QAccessible::queryAccessibleInterface(dial)->valueInterface();
    QVERIFY(angle);
    QCOMPARE(angle->currentValue().toInt(),
             static_cast<int>(library.GetPresetSettingsForIndex(1).rotationAngle));
    QCOMPARE(angle->maximumValue().toInt(), 359);
    angle->setCurrentValue(45);
    QCOMPARE(library.GetPresetSettingsForIndex(1).rotationAngle, 45);
    QCOMPARE(window.findChild<NumberField*>("angleTextFieldOutlet")->text(), QString("45"));
    // A click to the right of the dial's centre is angle 0, above it 90.
    const QPoint centre = dial->rect().center();
    QTest::mouseClick(dial, Qt::LeftButton, {}, centre + QPoint(0, -dial->height() / 3));
    QVERIFY(std::abs(library.GetPresetSettingsForIndex(1).rotationAngle - 90) <= 5);
  }

  // Clicking and dragging on the preview moves the mark of the layer being
  // edited, on a turned page too; with that layer off nothing changes. The
  // page buttons move through the document.
  void previewPlacesTheMarkAndMovesThroughPages() {
    test::ScratchHome home;
    test::TestPage turned;
    turned.rotate = 90;
    const fs::path pdf = test::WriteTestPdf(home.path() / "turned.pdf", {turned, {}, {}});
    MainWindow window;
    window.resize(1200, 900);
    window.show();
    window.AddPaths({pdf}, false);
    auto* documents = window.findChild<QTableView*>("documentTable");
    QTRY_COMPARE(documents->model()->rowCount(), 1);
    documents->selectRow(0);
    auto* presets = window.findChild<QTableView*>("presetTable");
    presets->selectRow(0);
    PresetLibrary& library = window.Library();
    window.findChild<QCheckBox*>("watermarkOnOffSegmentedControl")->setChecked(false);
    window.findChild<QCheckBox*>("watermarkOnOffSegmentedControl")->click();  // text on
    auto* view = window.findChild<WatermarkView*>("preview");
    QTRY_COMPARE(view->pagePoints().width, 792.0);
    const QPoint centre = view->rect().center();
    QTest::mouseClick(view, Qt::LeftButton, {}, centre);
    AnchorRatio anchor = library.GetPresetSettingsForIndex(0).textCenter;
    QVERIFY2(std::abs(anchor.x - 2) < 0.05 && std::abs(anchor.y - 2) < 0.05,
             qPrintable(QString("%1 %2").arg(anchor.x).arg(anchor.y)));

    // A drag to the upper right quarter of the page: x 3/4, y 3/4.
    const double scale = std::min(view->width() / 792.0, view->height() / 612.0);
    const QPoint upperRight =
        centre + QPoint(static_cast<int>(198 * scale), -static_cast<int>(153 * scale));
    QTest::mousePress(view, Qt::LeftButton, {}, centre);
    QTest::mouseMove(view, upperRight);
    QTest::mouseRelease(view, Qt::LeftButton, {}, upperRight);
    anchor = library.GetPresetSettingsForIndex(0).textCenter;
    QVERIFY2(std::abs(anchor.x - 4.0 / 3) < 0.05 && std::abs(anchor.y - 4.0 / 3) < 0.05,
             qPrintable(QString("%1 %2").arg(anchor.x).arg(anchor.y)));

    // Undo takes back the whole drag, then the click, then switching the
    // text on, which leaves the preset unmodified again; redo brings them back.
    auto* undo = window.findChild<QAction*>("actionUndo");
    auto* redo = window.findChild<QAction*>("actionRedo");
    undo->trigger();
    anchor = library.GetPresetSettingsForIndex(0).textCenter;
    QVERIFY(std::abs(anchor.x - 2) < 0.05 && std::abs(anchor.y - 2) < 0.05);
    undo->trigger();
    undo->trigger();
    QVERIFY(!undo->isEnabled());
    for (int step = 0; step < 3; ++step) redo->trigger();
    anchor = library.GetPresetSettingsForIndex(0).textCenter;
    QVERIFY(std::abs(anchor.x - 4.0 / 3) < 0.05 && std::abs(anchor.y - 4.0 / 3) < 0.05);
    QVERIFY(library.IsModified(0));

    // Shift+Right nudges the mark 10 points to the right.
    view->setFocus();
    const double xBefore = 792.0 / anchor.x;
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    anchor = library.GetPresetSettingsForIndex(0).textCenter;
    QVERIFY2(std::abs(792.0 / anchor.x - (xBefore + 10)) < 0.01,
             qPrintable(QString::number(792.0 / anchor.x)));

    // The fill tab with the fill off: clicks change nothing.
    auto* tabs = window.findChild<QTabWidget*>("watermarkOptionTabOutlet");
    tabs->setCurrentIndex(1);
    auto* fillOn = window.findChild<QCheckBox*>("watermarkbackGroundOnOffSegmentedControl");
    if (fillOn->isChecked()) fillOn->click();
    const AnchorRatio fillBefore = library.GetPresetSettingsForIndex(0).fillCenter;
    QTest::mouseClick(view, Qt::LeftButton, {}, upperRight);
    QCOMPARE(library.GetPresetSettingsForIndex(0).fillCenter, fillBefore);

    auto* number = window.findChild<QToolButton*>("pageNumberButton");
    QCOMPARE(number->text(), QString("1"));
    QVERIFY(!window.findChild<QToolButton*>("previousPageButton")->isEnabled());
    window.findChild<QToolButton*>("lastPageButton")->click();
    QCOMPARE(number->text(), QString("3"));
    QVERIFY(!window.findChild<QToolButton*>("nextPageButton")->isEnabled());
    QTRY_COMPARE(view->pagePoints().width, 612.0);
  }

  // Add names the new preset after the editor's text and opens its name;
  // an empty name is refused with an alert; removing rows 1 and 3 selects
  // the row that follows them.
  void presetTableAddsRenamesAndRemoves() {
    test::ScratchHome home;
    MainWindow window;
    window.show();
    PresetLibrary& library = window.Library();
    auto* presets = window.findChild<QTableView*>("presetTable");
    presets->selectRow(1);  // "Draft"
    const size_t before = library.waterMarkPresetData().size();
    auto* text = window.findChild<QLineEdit*>("textTextFieldOutlet");
    text->setText("Draft");
    window.findChild<QToolButton*>("addPresetButton")->click();
    QCOMPARE(library.waterMarkPresetData().size(), before + 1);
    QCOMPARE(library.waterMarkPresetData().back(), std::string("Draft 1"));
    QCOMPARE(presets->currentIndex().row(), static_cast<int>(before));
    QTRY_VERIFY(presets->findChild<QLineEdit*>() != nullptr);  // the name is open for typing

    QString alert;
    KeepMessage(alert);
    QVERIFY(!presets->model()->setData(presets->model()->index(static_cast<int>(before), 0), ""));
    QTRY_VERIFY(!alert.isEmpty());
    QCOMPARE(library.waterMarkPresetData().back(), std::string("Draft 1"));

    QVERIFY(
        presets->model()->setData(presets->model()->index(static_cast<int>(before), 0), "Renamed"));
    QCOMPARE(library.waterMarkPresetData().back(), std::string("Renamed"));

    presets->selectRow(1);
    presets->selectionModel()->setCurrentIndex(
        presets->model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::string third = library.waterMarkPresetData()[2];
    WhenShown<QMessageBox>([](QMessageBox* box) {
      for (QAbstractButton* button : box->buttons()) {
        if (box->buttonRole(button) == QMessageBox::DestructiveRole) button->click();
      }
    });
    window.findChild<QToolButton*>("removePresetButton")->click();
    QTRY_COMPARE(library.waterMarkPresetData().size(), before - 1);
    QCOMPARE(library.waterMarkPresetData()[1], third);
    QTRY_COMPARE(presets->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(presets->selectionModel()->selectedRows().front().row(), 1);
  }

  // A page with an opaque background hides a fill behind it: the preview
  // says so over the page, and only on such pages.
  void previewWarnsOfAMarkHiddenBehindThePage() {
    test::ScratchHome home;
    test::TestPage opaque;
    opaque.content = "1 1 1 rg 0 0 612 792 re f";
    const fs::path pdf = test::WriteTestPdf(home.path() / "office.pdf", {opaque, {}});
    MainWindow window;
    window.show();
    window.AddPaths({pdf}, false);
    auto* view = window.findChild<WatermarkView*>("preview");
    QTRY_VERIFY(view->pagePoints().width > 0);
    window.findChild<QTableView*>("presetTable")->selectRow(5);  // "Dotted Background", behind
    QTRY_VERIFY(view->accessibleDescription().contains("hidden"));
    window.findChild<QToolButton*>("nextPageButton")->click();
    QTRY_VERIFY(view->accessibleDescription().isEmpty());
  }

  // The command line adding and removing presets while the window is open:
  // the table follows; quitting with Save keeps what the other wrote.
  void theWindowFollowsALibraryChangedElsewhere() {
    test::ScratchHome home;
    MainWindow window;
    window.show();
    PresetLibrary& library = window.Library();
    window.findChild<QTableView*>("presetTable")->selectRow(0);
    library.setObjectToSelectedPreset(Value("edited here"), "textString");
    PresetLibrary elsewhere;
    QVERIFY(elsewhere.Load());
    elsewhere.SetSelection({1}, 1);
    QVERIFY(elsewhere.AddPreset("From Elsewhere"));
    QVERIFY(elsewhere.RemoveRows({2}));
    const std::string removed = window.Library().waterMarkPresetData()[2];
    const auto has = [&](const std::string& name) {
      const auto& names = library.waterMarkPresetData();
      return std::find(names.begin(), names.end(), name) != names.end();
    };
    QTRY_VERIFY(has("From Elsewhere"));
    QTRY_VERIFY(!has(removed));
    QCOMPARE(library.GetPresetSettingsForIndex(0).textString, std::string("edited here"));
    WhenShown<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Save)->click(); });
    QVERIFY(window.close());
    PresetLibrary stored;
    QVERIFY(stored.Load());
    const auto& names = stored.waterMarkPresetData();
    QVERIFY(std::find(names.begin(), names.end(), "From Elsewhere") != names.end());
    QVERIFY(std::find(names.begin(), names.end(), removed) == names.end());
    QCOMPARE(stored.GetPresetSettingsForIndex(0).textString, std::string("edited here"));
  }

  // Closing with modified presets asks once: Cancel keeps the window open,
  // Don't Save and Save close it without a second question.
  void closingAsksAboutModifiedPresetsOnce() {
    for (const auto answer : {QMessageBox::Cancel, QMessageBox::Discard, QMessageBox::Save}) {
      test::ScratchHome home;
      MainWindow window;
      window.show();
      window.findChild<QTableView*>("presetTable")->selectRow(1);
      // An edit, as the editor would make it.
      window.Library().setObjectToSelectedPreset(Value("edited"), "textString");
      int asked = 0;
      WhenShown<QMessageBox>([&](QMessageBox* box) {
        ++asked;
        box->button(answer)->click();
      });
      const bool closed = window.close();
      QCOMPARE(asked, 1);
      QCOMPARE(closed, answer != QMessageBox::Cancel);
      if (answer == QMessageBox::Save) {
        PresetLibrary stored;
        QVERIFY(stored.Load());
        QCOMPARE(*StringFor(
                     *DictionaryFor(stored.allPresetDictionary(), stored.waterMarkPresetData()[1]),
                     "textString"),
                 std::string("edited"));
      }
    }
  }

  // Closing during a run asks to cancel it; the window closes once the run
  // has stopped, and nothing half-written is left.
  void closingDuringARunCancelsItFirst() {
    test::ScratchHome home;
    std::vector<fs::path> files;
    for (int i = 0; i < 30; ++i) {
      files.push_back(test::WriteTestPdf(home.path() / ("d" + std::to_string(i) + ".pdf"),
                                         std::vector<test::TestPage>(20)));
    }
    const fs::path out = home.path() / "out";
    fs::create_directories(out);
    MainWindow window;
    ShowWith(window, files);
    ChooseDestination(out);
    window.findChild<QAction*>("actionConvertAll")->trigger();
    QTRY_VERIFY(window.Busy());
    WhenShown<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QVERIFY(!window.close());  // not yet: the run stops first
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 20000);
    QVERIFY(!window.Busy());
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
      QVERIFY2(!entry.path().filename().string().starts_with(".qs-"), entry.path().c_str());
    }
  }

  // The window fits a 1366 x 768 screen with the default font and a
  // 1440 x 900 one with a font a quarter larger; the editor scrolls rather
  // than growing the window.
  void windowFitsSmallScreensAndLargeFonts() {
    test::ScratchHome home;
    const QFont original = QApplication::font();
    for (const auto& [scale, screen] :
         {std::pair{1.0, QSize(1366, 740)}, std::pair{1.25, QSize(1440, 870)}}) {
      QFont font = original;
      font.setPointSizeF(original.pointSizeF() * scale);
      QApplication::setFont(font);
      MainWindow window;
      window.show();
      const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
      QVERIFY2(
          least.width() <= screen.width() && least.height() <= screen.height(),
          qPrintable(QString("%1x%2 at %3").arg(least.width()).arg(least.height()).arg(scale)));
      QVERIFY(window.findChild<QScrollArea*>("editorScroller"));
    }
    QApplication::setFont(original);
  }

  // The lists' pane keeps its width when the window grows, and its divider
  // stays between 109 and 309.
  void listsPaneKeepsItsWidthWithinItsLimits() {
    test::ScratchHome home;
    MainWindow window;
    window.resize(1000, 700);
    window.show();
    auto* splitter = window.findChild<QSplitter*>("mainSplitter");
    auto* pane = window.findChild<QWidget*>("listsPane");
    QTRY_VERIFY(pane->width() > 0);
    const int before = pane->width();
    window.resize(1400, 700);
    QTRY_COMPARE(window.width(), 1400);
    QCOMPARE(pane->width(), before);
    splitter->setSizes({1000, 400});
    QCOMPARE(pane->width(), 309);
    splitter->setSizes({10, 1390});
    QCOMPARE(pane->width(), 109);
  }

  // Convert All into a folder chosen in the dialog, then the end report.
  void convertAllMakesTheOutputsAndReports() {
    test::ScratchHome home;
    const fs::path a = test::WriteTestPdf(home.path() / "a.pdf", {{}});
    const fs::path b = test::WriteTestPdf(home.path() / "b.pdf", {{}});
    const fs::path out = home.path() / "out";
    fs::create_directories(out);
    MainWindow window;
    ShowWith(window, {a, b});
    auto* convertAll = window.findChild<QAction*>("actionConvertAll");
    QVERIFY(convertAll->isEnabled());
    ChooseDestination(out);
    // The end report comes alone (the progress sheet is gone), says where
    // the outputs are and opens their folder.
    QString report, where;
    QStringList buttons;
    bool sheetShown = true;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      report = box->text();
      where = box->informativeText();
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      auto* sheet = window.findChild<QProgressDialog*>("ProgressSheet");
      sheetShown = sheet && sheet->isVisible();
      box->accept();
    });
    convertAll->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!report.isEmpty(), 20000);
    QVERIFY2(report.contains("2 output(s) made"), qPrintable(report));
    QVERIFY(!sheetShown);
    QVERIFY2(where.contains(QString::fromStdString(out.string())), qPrintable(where));
    QVERIFY(buttons.contains("Open Folder"));
    size_t made = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
      made += entry.path().extension() == ".pdf";
    }
    QCOMPARE(made, size_t{2});
    QVERIFY(!window.Busy());
  }

  // "Remove Watermarks..." takes the marks off the selected
  // documents into the chosen folder under their own names, and says which
  // had none.
  void removeWatermarksTakesMarksOff() {
    test::ScratchHome home;
    const fs::path plain = test::WriteTestPdf(home.path() / "plain.pdf", {{}});
    MainWindow window;
    SaveRequest mark;
    mark.source = {plain.string(), ""};
    mark.settings = window.Library().GetPresetSettingsForIndex(0);
    mark.settings.viewScale = 1;
    mark.destination = home.path() / "marked.pdf";
    QVERIFY(SaveAsPDFFileOfSelectedDict(mark, nullptr).ok());
    const fs::path out = home.path() / "out";
    fs::create_directories(out);
    ShowWith(window, {mark.destination, plain});
    window.findChild<QTableView*>("documentTable")->selectAll();
    auto* remove = window.findChild<QAction*>("actionRemoveMarks");
    QVERIFY(remove->isEnabled());
    ChooseDestination(out);
    QString report, details;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      report = box->text();
      details = box->detailedText();
      box->accept();
    });
    remove->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!report.isEmpty(), 20000);
    QVERIFY2(report.contains("2 output(s) made"), qPrintable(report));
    QVERIFY2(details.contains("no watermark placed by Quillsheet was found in") &&
                 details.contains("plain.pdf") && !details.contains("marked.pdf"),
             qPrintable(details));
    QPDF unmarked;
    unmarked.processFile((out / "marked.pdf").c_str());
    QPDFObjectHandle page = unmarked.getAllPages().front();
    QCOMPARE(page.getKey("/Resources").getKey("/XObject").getKeys().size(), size_t{0});
  }
};

}  // namespace quillsheet

QTEST_MAIN(quillsheet::WindowTest)
#include "WindowTest.moc"
