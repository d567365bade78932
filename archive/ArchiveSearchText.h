// The one rule by which the archive compares texts: case and accents do not count, in any of
// the four languages, so "novak" finds "Novák", "muller" finds "Müller", "strasse" finds
// "Straße" and "coeur" finds "Cœur". Both databases store the folded text beside what it
// was made from and compare folded with folded, so the bench's file and the server give the
// same answers.
#pragma once

#include "ArchiveRecords.h"

#include <QString>
#include <QStringView>

namespace vorn {

// Lower case without accents; letters that are two letters in plain writing (ß, æ, œ)
// become those two.
QString foldForSearch(QStringView text);

// What an event is found by: the unit's identification and free text, the bench and the
// user, folded, one per line.
QString eventSearchText(const UnitTexts &unit, const QString &bench, const QString &user);

}  // namespace vorn
