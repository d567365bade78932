// Texts the window and vorn4-cli add beyond the message and caption catalogues. Each
// subsystem keeps its own table of these next to its code; every entry carries all four
// languages, so a missing translation is a compile error rather than an empty label.
#pragma once

#include <QString>

namespace vorn {

struct Text4 {
    const char *en;
    const char *de;
    const char *fr;
    const char *cz;   // UTF-8, like every source text
};

// The text in language 0 English, 1 German, 2 French, 3 Czech; anything else gives English.
inline QString text4(const Text4 &t, int language)
{
    switch (language) {
    case 1: return QString::fromUtf8(t.de);
    case 2: return QString::fromUtf8(t.fr);
    case 3: return QString::fromUtf8(t.cz);
    default: return QString::fromUtf8(t.en);
    }
}

// A text with a count: the form for one, for two to four (Czech only; elsewhere the same as
// `many`) and for five and more (and none). %1 (and %2) as in the single forms.
struct Count4 {
    Text4 one, few, many;
};

// The form that fits n in a language.
inline const Text4 &countForm(const Count4 &t, long long n, int language)
{
    if (n == 1)
        return t.one;
    return language == 3 && n >= 2 && n <= 4 ? t.few : t.many;
}

// The fitting form with the count put in for %1.
inline QString countText(const Count4 &t, long long n, int language)
{
    return text4(countForm(t, n, language), language).arg(n);
}

}  // namespace vorn
