#include "shell/skin_observer.h"

namespace zevik {

CSkinObserver& GetSkinObserver() {
    static CSkinObserver observer;
    return observer;
}

}  // namespace zevik
