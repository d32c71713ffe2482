#include "web/server_controller.h"

namespace zeziza::web {

ServerController::ServerController(store::DataFolder folder, PageFactory startPage,
                                   AppContext& context, ServerSettings settings)
    : folder_(std::move(folder)),
      context_(&context),
      settings_(std::move(settings)),
      store_(folder_),
      sessions_(folder_, store_, std::move(startPage), context, settings_),
      router_(folder_, sessions_, settings_) {}

}  // namespace zeziza::web
