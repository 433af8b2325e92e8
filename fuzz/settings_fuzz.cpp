// libFuzzer entry for the settings reader: any bytes, read under an English,
// a German or a French number format, give usable settings or a problem that
// a message can describe.
#include "rules/feedback/settings_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::French, QLocale::France)};
    const QLocale &locale = locales[data[0] % 3];
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    const ct::ParsedSettings parsed = ct::parseSettings(bytes, locale);
    if (parsed.ok()) {
        const double rate = parsed.settings.exchangeRate;
        if (!std::isfinite(rate) || rate < 0 || rate > ct::kMaxExchangeRate)
            __builtin_trap();
    } else if (ct::describeSettingsProblem(*parsed.problem, QStringLiteral("/x/config.ini"), locale).isEmpty()) {
        __builtin_trap();
    }
    return 0;
}
