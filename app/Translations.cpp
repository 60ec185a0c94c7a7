#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillsheet {
namespace {

void InstallIfLoaded(QCoreApplication& application, const QLocale& locale, const QString& name,
                     const QString& folder) {
  auto* translator = new QTranslator(&application);
  if (translator->load(locale, name, QStringLiteral("_"), folder)) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace

void InstallTranslations(QCoreApplication& application) {
  // Translators are searched last installed first: English is the fallback.
  InstallIfLoaded(application, QLocale(QLocale::English), QStringLiteral("quillsheet"),
                  QStringLiteral(":/i18n"));
  const QLocale locale;
  if (locale.language() == QLocale::English) return;
  InstallIfLoaded(application, locale, QStringLiteral("qtbase"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  InstallIfLoaded(application, locale, QStringLiteral("quillsheet"), QStringLiteral(":/i18n"));
  InstallIfLoaded(application, locale, QStringLiteral("forms"), QStringLiteral(":/i18n"));
}

}  // namespace quillsheet
