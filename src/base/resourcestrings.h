#pragma once

#include <QString>

// Looks a resource-string identifier up through the installed translator, in the context
// "QObject" as QObject::tr does; an identifier without a translation comes back as itself.
// For texts only known at run time.
QString translateText(const QString &identifier);
