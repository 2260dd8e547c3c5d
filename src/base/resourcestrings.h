#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QTranslator;
QT_END_NAMESPACE

// Loads the compiled resource strings into the translator and installs it; false (and
// nothing installed) when the resource cannot be loaded.
bool installResourceStrings(QTranslator &translator);

// Looks a resource-string identifier up through the installed translator, in the context
// "QObject" as QObject::tr does; an identifier without a translation comes back as itself.
// For texts only known at run time.
QString translateText(const QString &identifier);
