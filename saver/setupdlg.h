// The options dialog of the screen saver.
#pragma once

#include "forms.h"
#include "registry.h"

#include <memory>
#include <string>

class TConfigureForm : public TForm {
public:
    explicit TConfigureForm(TForm* owner);

    std::unique_ptr<TRegIniFile> Settings;
    int SpeedFactor = 0;
    std::string NewSoundFile;
    std::string NewPictureFile;

    void FormDestroy(TObject* sender);
};
