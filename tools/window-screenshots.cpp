// Pictures of the window for the documentation: the main window with the
// sample document and the editor (light and dark palette), the editor's fill
// tab with its patterns, a turned page, the preferences sheet and the
// progress sheet as it looks in the middle of a run.
// quillsheet-window-screenshots OUTPUT-FOLDER [dark|large]
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "app/FieldValuesDialog.h"
#include "app/MainWindow.h"
#include "app/ProgressSheet.h"
#include "app/Translations.h"
#include "common/AppPaths.h"

namespace {

QPalette DarkPalette() {
  QPalette palette;
  const QColor window(0x2b, 0x2d, 0x31), base(0x1e, 0x1f, 0x22), text(0xe6, 0xe6, 0xe6);
  palette.setColor(QPalette::Window, window);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Base, base);
  palette.setColor(QPalette::AlternateBase, window);
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::Button, window);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Highlight, QColor(0x3d, 0x7a, 0xd6));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
  return palette;
}

void ShootProgressSheet(QWidget& window, const QString& file) {
  quillsheet::CancelFlag cancel{false};
  quillsheet::ProgressSheet sheet(cancel, &window);
  sheet.resize(420, sheet.sizeHint().height());
  sheet.show();
  quillsheet::ProgressState state;
  state.status = quillsheet::kStatusDocumentStarts;
  state.maximum = 8;
  state.value = 4;
  state.presetProcessingIndex = 1;
  state.numOfPresetsForConversion = 2;
  state.currentPresetName = "Confidential";
  state.fileProcessingIndex = 3;
  state.numOfPDFFilesForConversion = 3;
  state.currentFileName = "quarterly-report.pdf";
  sheet.Show(state);
  sheet.grab().save(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  QApplication application(argc, argv);
  quillsheet::InstallTranslations(application);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QByteArray variant = argc > 2 ? QByteArray(argv[2]) : QByteArray();
  const bool dark = variant == "dark";
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  if (dark) QApplication::setPalette(DarkPalette());
  // "large": the desktop's font a quarter larger.
  if (variant == "large") {
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    QApplication::setFont(font);
  }
  const QString suffix = variant.isEmpty() ? QString() : "-" + QString::fromLatin1(variant);
  quillsheet::MainWindow window;
  window.resize(1280, 760);
  window.show();
  window.AddPaths({quillsheet::ResourceFolder() / "samples" / "sample.pdf"}, false);
  QTimer::singleShot(1000, [&] {
    window.findChild<QTableView*>(QStringLiteral("documentTable"))->selectRow(0);
    QTimer::singleShot(600, [&] {
      window.grab().save(folder + QStringLiteral("/window%1.png").arg(suffix));
      // The bundled "Dotted Background" preset fills with a pattern.
      auto* presets = window.findChild<QTableView*>(QStringLiteral("presetTable"));
      presets->selectRow(5);
      auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("watermarkOptionTabOutlet"));
      tabs->setCurrentIndex(1);
      QTimer::singleShot(600, [&, presets, tabs] {
        window.grab().save(folder + QStringLiteral("/editor-fill%1.png").arg(suffix));
        presets->selectRow(0);
        tabs->setCurrentIndex(0);
        window.findChild<QToolButton*>(QStringLiteral("lastPageButton"))->click();
      });
      QTimer::singleShot(1200, [&] {
        window.grab().save(folder + QStringLiteral("/editor-turned%1.png").arg(suffix));
      });
      window.findChild<QAction*>(QStringLiteral("actionPreferences"))->trigger();
      QTimer::singleShot(1800, [&] {
        if (auto* sheet = window.findChild<QDialog*>(QStringLiteral("PreferencesDialog"))) {
          sheet->grab().save(folder + QStringLiteral("/preferences%1.png").arg(suffix));
          sheet->close();
        }
        ShootProgressSheet(window, folder + QStringLiteral("/progress%1.png").arg(suffix));
        quillsheet::FieldValuesDialog fields({"recipient", "department"}, &window);
        fields.show();
        fields.grab().save(folder + QStringLiteral("/field-values%1.png").arg(suffix));
        QApplication::exit(0);
      });
    });
  });
  return QApplication::exec();
}
