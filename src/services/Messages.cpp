#include "Messages.h"

#include "Encoding.h"
#include "Endpoints.h"
#include "MessageBox.h"
#include "ProgramGlobals.h"

QStringList MessageTable;

namespace {
constexpr int MessageCount = 21;

QString Marked(const QString& text) {
    return text.isEmpty() ? QString() : '%' + text + '%';
}
} // namespace

void InitDefaultMessages() {
    // The start-up sizes the table; a shorter one is grown rather than overrun.
    if (MessageTable.size() < MessageCount)
        MessageTable.resize(MessageCount);

    const QString download = QStringLiteral(" nebol nájdený. Prosím stiahnite si inštalačku k programu \"");
    const QString fromPage = QStringLiteral("\" zo stránky ( ");
    const QString again = QStringLiteral(" ) znova.");

    const QString texts[MessageCount] = {
        QStringLiteral("Licenčný súbor") + download,
        fromPage,
        again,
        QStringLiteral("Súbor s históriou zmien") + download,
        fromPage,
        again,
        QStringLiteral("Navštívte stránku programu "),
        QString(),
        QStringLiteral("Súbor pomocníka") + download,
        fromPage,
        again,
        QStringLiteral("Musíte byť pripojený na internet."),
        QStringLiteral("Prosím skúste to neskôr a ubezpečte sa, že ste pripojený na internet."),
        QStringLiteral("Správa bola poslaná úspešne."),
        QStringLiteral("Prosím vyberte jazyk."),
        QStringLiteral("Pre uloženie všetkých zmien prosím reštartujte program."),
    };
    for (int i = 0; i < MessageCount; ++i)
        MessageTable[i] = Marked(texts[i]);
}

QString StripPercentMarks(const QString& text) {
    QString result = text;
    if (result.startsWith('%'))
        result.remove(0, 1);
    if (result.endsWith('%'))
        result.chop(1);
    return result;
}

QString GetMsg(int index) {
    if (index >= 0 && index < MessageTable.size())
        return StripPercentMarks(MessageTable.at(index));
    return QStringLiteral("Program cannnot translate this message. Please contact us by e-mail (\"") +
           SupportEmail + QStringLiteral("\") and insert into mail this: \r\r\"msg[") +
           QString::number(index) + QStringLiteral("]\"");
}

int ShowMessageBox(const QString& text, const QString& caption, int flags) {
    return PlatformMessageBox(text, caption, flags);
}

int ShowAppMessageBox(const QString& text, int flags) {
    return ShowMessageBox(text, ProgramTitle, flags);
}

void ShowError(const QString& text, const QString& caption) {
    ShowMessageBox(text, caption, MB_ICONERROR);
}

void ShowAppError(const QString& text) {
    ShowError(text, ProgramTitle);
}

void ShowErrorCode(const QString& code, const QString& text, const QString& caption) {
    QString message = QStringLiteral("Nastala neočakávaná chyba č. ") + code + QStringLiteral(".\r") +
                      QStringLiteral("Chybu prosím nahláste na e-mail (\"") + SupportEmail +
                      QStringLiteral("\") . Skontrolujte aktuálnosť verzie vášho programu na \"") +
                      MakerWebSite + QStringLiteral("\". ");
    if (!text.isEmpty())
        message += QStringLiteral("\r\r") + text;
    ShowError(message, caption);
}

TTextSpan RefuseUnstorableChar(const QString& text, const TCharRefusal& refusal) {
    const qsizetype at = FindUnwritableChar(text, TTextCode::Windows1250);
    if (at < 0)
        return {};
    const QString character = CharAt(text, at);
    const QString field = refusal.field.isEmpty() ? QString() : "v poli \"" + refusal.field + "\" ";
    ShowAppMessageBox(refusal.holder + " obsahuje " + field + "znak \"" + character +
                          "\", ktorý nie je možné " + refusal.verb + ". " + refusal.consequence,
                      refusal.flags);
    return {int(at), int(character.size())};
}

TTextSpan RefuseUnstorableChar(const QString& text, const QString& caption, const QString& verb) {
    return RefuseUnstorableChar(text, {"Pole \"" + caption + "\"", QString(), verb,
                                       QStringLiteral("Nahraďte ho prosím iným znakom."), MB_ICONWARNING});
}
