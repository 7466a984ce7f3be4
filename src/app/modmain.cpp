#include "app/modmain.h"

#include "app/appinfo.h"
#include "app/frmmain.h"
#include "forms/shellabout.h"
#include "support/tarnwicksupport.h"

namespace modMain {

namespace {
const QString AboutTitlePrefix = QStringLiteral("О программе#");
const QString VersionLabel = QStringLiteral("    Версия ");
const QString LineBreak = QStringLiteral("\r\n");
const QString DedicationLine = QStringLiteral("    Посвящается Зорвель");
} // namespace

void Main() {
    using tarnwick::SupportFunction;
    tarnwick::check(SupportFunction::RegisterAppPath, tarnwick::tsRegisterAppPath());
    int16_t inIDE = 0;
    tarnwick::check(SupportFunction::IsInIDE, tarnwick::tsIsInIDE(inIDE));
    if (inIDE == 0) {
        forms::windows::WindowHandle mainHandle = 0;
        tarnwick::check(SupportFunction::GetThunderMainHandle,
                        tarnwick::tsGetThunderMainHandle(mainHandle));
        tarnwick::check(SupportFunction::SetWindowResIconAll,
                        tarnwick::tsSetWindowResIconAll(mainHandle, QStringLiteral("A_MAIN")));
    }
    if (app::StartMode == 0) {
        frmMain().show();
    }
}

void ShowAbout() {
    const forms::windows::WindowHandle owner = forms::windows::activeForm();
    const QString title = app::Title;
    QString version;
    tarnwick::check(tarnwick::SupportFunction::FormatVersion,
                    tarnwick::tsFormatVersion(app::Major, app::Minor, app::Revision, version));
    const forms::Picture icon = forms::windows::bigIcon(forms::windows::activeForm());
    // The texts stay Unicode all the way, so the Cyrillic shows on every system.
    const QString appText = AboutTitlePrefix + title;
    const QString otherText = VersionLabel + version + LineBreak + DedicationLine;
    forms::shellabout::show(owner, appText, otherText, icon);
}

} // namespace modMain
