#include "MapViewLink.h"

#include "MapTexts.h"
#include "host/ImageEditing.h"
#include "host/LiveView.h"
#include "host/ModuleLoader.h"
#include "host/Shell.h"

#include <QWidget>

namespace vorn::maps {

namespace {
const QString kModuleName = QStringLiteral("vorn4mapview");
}

MapViewLink::MapViewLink(host::Shell &shell, const host::ImageEditing &editing, const host::LiveView &live)
    : shell_(shell), editing_(editing), live_(live)
{
}

QWidget *MapViewLink::open()
{
    if (view_)
        return view_->widget();
    const host::ModuleLoader module(kModuleName);
    auto create = module.entry<Vorn4CreateMapView>(VORN4_MAPVIEW_ENTRY);
    if (!create) {
        shell_.message(text4(texts::kNoModule, shell_.language()).arg(kModuleName));
        return nullptr;
    }
    view_ = create(&editing_.image(), &live_.liveCell(), shell_.dialogParent());
    window_ = view_->widget();
    shows_ = editing_.image();
    view_->setLanguage(shell_.language());
    return view_->widget();
}

void MapViewLink::setLanguage(int language)
{
    if (view_ && window_)
        view_->setLanguage(language);
}

void MapViewLink::followLive()
{
    if (shown())
        view_->followLive();
}

void MapViewLink::followEdits()
{
    if (shown() && !(shows_ == editing_.image())) {
        shows_ = editing_.image();
        view_->followEdits();
    }
}

}  // namespace vorn::maps
