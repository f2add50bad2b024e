#pragma once
// "Make maps": asks where the detector stands, the folder its three maps go into and their
// colours. Make maps (the default button) checks latitude, longitude and folder in that order;
// at the first refusal it tells it through the messages seam and selects the field, and the box
// stays open. Cancel (or Escape) asks nothing.

#include <QDialog>
#include <filesystem>

#include "maps/map_drawing.h"
#include "maps/map_projection.h"
#include "platform/user_messages.h"

class QLineEdit;
class QRadioButton;

namespace animark::ui {

struct MapRequest {
  GeoPoint place;
  std::filesystem::path folder;
  MapStyle style = MapStyle::Dark;
};

class MakeMapsDialog final : public QDialog {
  Q_OBJECT

 public:
  // Shows `shown`'s folder and colours, and its place unless `placeKnown` is false.
  MakeMapsDialog(QWidget* owner, UserMessages& messages, const MapRequest& shown, bool placeKnown);

  // What was taken at the last accepted Make maps.
  const MapRequest& Request() const { return request_; }

 public slots:
  void accept() override;

 private:
  // Tells `message` and selects the text of `field`.
  void Refuse(QLineEdit* field, const char* message);
  void ChooseFolder();

  UserMessages& messages_;
  MapRequest request_;
  QLineEdit* latitude_ = nullptr;
  QLineEdit* longitude_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QRadioButton* light_ = nullptr;
};

}  // namespace animark::ui
