#include "station/channel_hub.h"

namespace quorel {

std::string accessRefusedText(const std::string& user) {
    return "Accès refusé : l'utilisateur « " + user +
           " » n'est pas opérateur de Quorel et ne peut pas commander les sonneries.";
}

ChannelHub::ChannelHub(Clock& clock, Journal& journal, Handler handler)
    : clock_(clock), journal_(journal), handler_(std::move(handler)) {}

void ChannelHub::connect(ClientId id, const std::string& user, bool allowed) {
    // Silent ones make room first, even while nothing else changes (no port chosen, no tick).
    dropSilent();
    Client& client = clients_[id];
    client.user = user;
    client.connectedAt = clock_.monotonicSeconds();
    if (!allowed) {
        noteOnce("refusé " + user, "Console refusée : " + accessRefusedText(user));
        send(id, client, Message{{"error", accessRefusedText(user)}, {"refused", true}});
        clients_.erase(id);
        if (close) {
            close(id);
        }
        return;
    }
    if (static_cast<int>(clients_.size()) > kMaxClients) {
        drop(id, "trop de consoles connectées (plus de " + std::to_string(kMaxClients) + ")", true);
    }
}

void ChannelHub::receive(ClientId id, std::string_view bytes) {
    auto it = clients_.find(id);
    if (it == clients_.end()) {
        return;
    }
    it->second.lines.add(bytes);
    // A handler may connect or drop consoles: the client is looked up again after each message.
    for (;;) {
        it = clients_.find(id);
        if (it == clients_.end()) {
            return;
        }
        Client& client = it->second;
        std::optional<Message> request = client.lines.next();
        if (!request) {
            if (!client.lines.fault().empty()) {
                drop(id, client.lines.fault(), true);
            }
            return;
        }
        client.spoke = true;
        Reply reply = handler_(*request);
        it = clients_.find(id);
        if (it == clients_.end()) {
            return;
        }
        if (!reply.fault.empty()) {
            drop(id, reply.fault, true);
            return;
        }
        if (reply.subscribe && !it->second.subscribed) {
            // Who watches and may steer the bells, for the journal's reader.
            it->second.subscribed = true;
            journal_.note("Console de « " + it->second.user + " » connectée");
        }
        if (!reply.answer.is_null()) {
            send(id, it->second, reply.answer);
        }
    }
}

void ChannelHub::disconnect(ClientId id) {
    clients_.erase(id);
}

void ChannelHub::broadcast(const Message& message) {
    const std::string line = messageLine(message);
    // A flush may find a console gone and remove it: the ids are taken first.
    std::vector<ClientId> ids;
    for (const auto& [id, client] : clients_) {
        ids.push_back(id);
    }
    for (ClientId id : ids) {
        auto it = clients_.find(id);
        if (it == clients_.end() || !it->second.subscribed) {
            continue;
        }
        if (it->second.queue.size() + line.size() > kQueueMaxBytes) {
            drop(id, "console trop lente : elle ne lit plus ce que la station lui envoie", false);
            continue;
        }
        it->second.queue += line;
        if (flush) {
            flush(id);
        }
    }
}

void ChannelHub::dropSilent() {
    const double now = clock_.monotonicSeconds();
    std::vector<ClientId> silent;
    for (const auto& [id, client] : clients_) {
        if (!client.spoke && now - client.connectedAt > kFirstMessageSeconds) {
            silent.push_back(id);
        }
    }
    for (ClientId id : silent) {
        drop(id, "aucun message dans les 5 s après la connexion", true);
    }
}

bool ChannelHub::watched() const {
    for (const auto& [id, client] : clients_) {
        if (client.subscribed) {
            return true;
        }
    }
    return false;
}

std::string* ChannelHub::queue(ClientId id) {
    auto it = clients_.find(id);
    return it == clients_.end() ? nullptr : &it->second.queue;
}

bool ChannelHub::reading(ClientId id) const {
    auto it = clients_.find(id);
    return it != clients_.end() && it->second.queue.size() <= kReadPauseBytes;
}

void ChannelHub::send(ClientId id, Client& client, const Message& message) {
    client.queue += messageLine(message);
    if (flush) {
        flush(id);
    }
}

void ChannelHub::drop(ClientId id, const std::string& cause, bool tellIt) {
    auto it = clients_.find(id);
    if (it == clients_.end()) {
        return;
    }
    noteOnce(cause, "Console de « " + it->second.user + " » coupée : " + cause);
    it->second.queue.clear();
    if (tellIt) {
        send(id, it->second, Message{{"error", "Connexion coupée par la station : " + cause}});
    }
    clients_.erase(id);
    if (close) {
        close(id);
    }
}

void ChannelHub::noteOnce(const std::string& cause, const std::string& sentence) {
    const LocalDate today = clock_.localDate();
    if (today != notedOn_) {
        causesNoted_.clear();
        notedOn_ = today;
    }
    if (causesNoted_.insert(cause).second) {
        journal_.note(sentence);
    }
}

} // namespace quorel
