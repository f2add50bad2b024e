#pragma once
// One making of station maps on a worker thread, so that the dialog goes on answering for the
// seconds the coastline data takes. What the maker tells reaches the GUI thread as queued calls
// to the owner, in order, the end last; Cancel only sets a flag the maker asks between maps.

#include <QObject>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "maps/station_maps.h"

namespace animark::ui {

class MapThread final : public QObject, private MapProgress {
  Q_OBJECT

 public:
  using Told = std::function<void(int rangeMiles, int done, int count)>;
  using Ended = std::function<void(const StationMapsResult&)>;

  // Starts making `maps` at once; `told` and `ended` run on `owner`'s thread. Calls still queued
  // when the run is destroyed before its end die with `owner`.
  MapThread(QObject& owner, GeoPoint detector, std::vector<StationMap> maps, MapStyle style,
            Told told, Ended ended);
  // Asks the maker to stop and waits for it (at most the map in hand).
  ~MapThread() override;
  MapThread(const MapThread&) = delete;
  MapThread& operator=(const MapThread&) = delete;

  void Cancel() { cancelRequested_ = true; }

 signals:
  // A call for the GUI thread, made there by `owner`'s event loop.
  void Queued(std::function<void()> call);

 private:
  void Drawing(int rangeMiles, int done, int count) override;
  bool CancelRequested() override { return cancelRequested_; }

  Told told_;
  std::atomic<bool> cancelRequested_ = false;
  std::thread worker_;  // joined by the destructor
};

}  // namespace animark::ui
