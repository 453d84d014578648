#include "platform/gui/action_list.h"

namespace plotvik {

void TAction::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void TAction::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TAction::LinkClient(const void* client, std::function<void()> changed) {
  UnlinkClient(client);
  clients_.emplace_back(client, std::move(changed));
}

void TAction::UnlinkClient(const void* client) {
  std::erase_if(clients_, [client](const auto& c) { return c.first == client; });
}

void TAction::Changed() {
  // A client may unlink itself while being told; work on a copy.
  const auto clients = clients_;
  for (const auto& client : clients) client.second();
}

bool TAction::Execute() {
  if (!enabled_ || !OnExecute) return false;
  OnExecute(*this);
  return true;
}

}  // namespace plotvik
