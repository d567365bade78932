// The model and synchronisation lists' change handler, the New command and start-up presets.
#include "EditState.h"
#include "params/New.h"
#include "history/HistoryTexts.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>

void TFormHlav::ApplyBikeSetup()
{
    vorn::ApplyBikeSetup(Image, BikeSetupPending);
}

void TFormHlav::ComboBikeChange()
{
    EditState &s = *editState_;
    emit Notifier->imageReplacing(vorn::host::HostNotifier::Replacement::Model, Image);
    // The other fields are not read back: a listed model replaces them with its defaults.
    const int code = vorn::bikeCodeOfListIndex(s.bike->currentIndex());
    if (code >= 0)
        Image.bikeCode() = static_cast<std::uint8_t>(code);
    if (s.sync->currentIndex() >= 0)
        Image.syncMethod() = static_cast<std::uint8_t>(s.sync->currentIndex());
    BikeSetupPending = true;
    ApplyBikeSetup();
    ShowParameters();
    emit Notifier->editStepStarted({&vorn::htext::StepModel});
    AfterEdit();
}

void TFormHlav::MenuNewClick()
{
    if (Question(Messages[vorn::Msg::DefaultSetting]) != QMessageBox::Yes)
        return;
    emit Notifier->imageReplacing(vorn::host::HostNotifier::Replacement::New, Image);
    ApplyBikeSetup();
    emit Notifier->editStepStarted({&vorn::htext::StepNew});
    AfterEdit();
    ctl<QWidget>("LabelHlaseni")->hide();
    ctl<QWidget>("CGauge")->hide();
    ctl<QLabel>("LabelFile2")->setText(QString());
    emit Notifier->fileEvent(vorn::host::HostNotifier::FileEvent::Forgotten, QString());
}
