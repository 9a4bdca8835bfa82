#include "gui_rigs/pipes_pages_rig.h"

#include <QDir>

PipesPagesRig::PipesPagesRig(const RigOptions& options)
    : rig(options),
      m_environment(std::make_unique<AppEnvironment>(QDir(m_folder.path()).filePath(QStringLiteral("settings.ini")),
                                                     WorkFolder(m_folder.path())))
{}

int PipesPagesRig::ShowMessage(const QString& text, const QString& caption, unsigned)
{
    messages << caption + QStringLiteral(": ") + text;
    return answer;
}
