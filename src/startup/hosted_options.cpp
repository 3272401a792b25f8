#include "startup/hosted_options.h"

#include "display/effect_table.h"

namespace startup {

namespace {

// One or two leading dashes name the same option.
bool IsOption(const QString& argument, QLatin1String name) {
    if (!argument.startsWith(u'-')) return false;
    const QString bare = argument.startsWith(QLatin1String("--")) ? argument.mid(2) : argument.mid(1);
    return bare == name;
}

// "--name=value" carries its value in the same argument.
std::optional<QString> InlineValue(const QString& argument, QLatin1String name) {
    const QString bare = argument.startsWith(QLatin1String("--")) ? argument.mid(2) : argument.mid(1);
    if (!argument.startsWith(u'-') || !bare.startsWith(name + u'=')) return std::nullopt;
    return bare.mid(name.size() + 1);
}

QString LettersOnly(const QString& text) {
    QString out;
    for (const QChar c : text)
        if (c.isLetterOrNumber()) out += c.toLower();
    return out;
}

}  // namespace

std::optional<uint32_t> ParseWindowId(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    qulonglong value = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toULongLong(&ok, 16);
    else if (!t.isEmpty() && t.front().isDigit())
        value = t.toULongLong(&ok, 10);
    if (!ok || value > 0xffffffffULL) return std::nullopt;
    return uint32_t(value);
}

std::optional<int> ParseEffectName(const QString& text) {
    // An effect's caption or command-line name, in any case, with or without
    // its spaces and marks.
    const QString key = LettersOnly(text);
    for (const display::EffectInfo& effect : display::Effects())
        if (key == LettersOnly(QLatin1String(effect.caption)) || key == LettersOnly(QLatin1String(effect.commandName)))
            return int(effect.kind);
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (ok && settings::Effect::FromNumber(number) != settings::Effect::None) return number;
    return std::nullopt;
}

HostedParse ParseHostedOptions(const QStringList& arguments, const QString& saverWindow) {
    HostedParse result;
    bool root = false;
    std::optional<QString> windowId;
    std::optional<QString> effect;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto takeValue = [&](QLatin1String name) -> std::optional<QString> {
            if (const auto inlined = InlineValue(a, name)) return inlined;
            if (IsOption(a, name)) return i + 1 < arguments.size() ? arguments[++i] : QString();
            return std::nullopt;
        };
        if (IsOption(a, QLatin1String("root"))) {
            root = true;
        } else if (const auto id = takeValue(QLatin1String("window-id"))) {
            windowId = *id;
        } else if (const auto name = takeValue(QLatin1String("effect"))) {
            effect = *name;
        }
    }
    if (!root && !windowId) return result;
    result.hosted = true;

    HostedOptions options;
    if (windowId) {
        options.windowText = *windowId;
    } else if (!saverWindow.trimmed().isEmpty()) {
        options.windowText = saverWindow.trimmed();
    }
    if (!options.windowText.isEmpty()) {
        const auto id = ParseWindowId(options.windowText);
        if (!id) {
            result.error = QStringLiteral("cannot read the window id \"%1\"").arg(options.windowText);
            return result;
        }
        options.window = *id;
    } else if (windowId) {
        result.error = QStringLiteral("--window-id needs a window id");
        return result;
    }
    if (effect) {
        options.effect = ParseEffectName(*effect);
        // A name this copy does not know keeps the settings file's effect.
        if (!options.effect) result.warning = QStringLiteral("unknown effect \"%1\" passed over").arg(*effect);
    }
    result.options = options;
    return result;
}

}  // namespace startup
