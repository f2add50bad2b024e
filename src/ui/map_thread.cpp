#include "ui/map_thread.h"

namespace animark::ui {

MapThread::MapThread(QObject& owner, GeoPoint detector, std::vector<StationMap> maps,
                     MapStyle style, Told told, Ended ended)
    : told_(std::move(told)) {
  connect(
      this, &MapThread::Queued, &owner, [](const std::function<void()>& call) { call(); },
      Qt::QueuedConnection);
  worker_ = std::thread([this, detector, maps = std::move(maps), style, ended = std::move(ended)] {
    const StationMapsResult result = MakeStationMaps(detector, maps, style, *this);
    emit Queued([ended, result] { ended(result); });
  });
}

MapThread::~MapThread() {
  cancelRequested_ = true;
  worker_.join();
}

void MapThread::Drawing(int rangeMiles, int done, int count) {
  emit Queued([told = told_, rangeMiles, done, count] { told(rangeMiles, done, count); });
}

}  // namespace animark::ui
