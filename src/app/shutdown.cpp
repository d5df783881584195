#include <windows.h>
#include <mmsystem.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dsound.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "app/shutdown.h"
#include "frontend/best_scores.h"

namespace {

// A start-up step that failed left its slot empty; there is nothing to release.
template <typename Interface>
void ReleaseSlot(Interface*& object) {
  if (object != NULL) object->Release();
  object = NULL;
}

}  // namespace

void ShutDown() {
  SaveBestScores();
  timeEndPeriod(1);
  ReleaseSlot(Gfx.backBuffer);
  ReleaseCatalogueMeshes();
  ReleaseSlot(Gfx.device);
  ReleaseSlot(Gfx.d3d);
  ReleaseCatalogueTextures();
  ReleaseCatalogueSounds();
  ReleaseSlot(Audio.listener);
  ReleaseSlot(Audio.primary);
  ReleaseSlot(Audio.directSound);
  ReleaseSlot(Gfx.sceneTexture);
  ReleaseSlot(Gfx.sceneSurface);
  ReleaseSlot(Gfx.sceneDepth);
  ReleaseSlot(Gfx.backDepth);
}
