#pragma once

#include "controls/Peers.h"

namespace glimra {

class Form;

// Counts the loaded forms: the program runs while at least one is loaded.
class Application {
  public:
    explicit Application(PeerFactory* peers = nullptr) : peers_(peers) {}

    PeerFactory* Peers() const { return peers_; }

    // Loads the start-up form and shows it, unless its load hid or unloaded it.
    void Start(Form& startup);

    int LoadedForms() const { return loadedForms_; }
    bool Ended() const { return ended_; }

  private:
    friend class Form;
    void FormLoaded() { ++loadedForms_; }
    void FormUnloaded();

    PeerFactory* peers_;
    int loadedForms_ = 0;
    bool ended_ = false;
};

}  // namespace glimra
