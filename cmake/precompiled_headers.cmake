# Precompiled headers: the Qt and standard headers nearly every file includes are parsed once per build
# instead of once per file. Four headers serve all targets (each shared by the targets whose flags agree):
# the core's, the core tests', the widgets' and the widget tests'. Build with -DZT5_PCH=OFF to find a file
# that uses a header it does not include itself.
if(NOT ZT5_PCH)
  return()
endif()

set(zt5_pch_core
    <algorithm> <array> <atomic> <chrono> <cstdint> <cstring> <functional> <map> <memory> <mutex> <optional>
    <string> <thread> <utility> <vector>
    <QByteArray> <QDateTime> <QDir> <QElapsedTimer> <QFile> <QFileInfo> <QList> <QMap> <QMutex> <QObject>
    <QRegularExpression> <QString> <QStringList> <QTextStream> <QThread>)
set(zt5_pch_tests ${zt5_pch_core} <QTemporaryDir> <gtest/gtest.h>)
set(zt5_pch_widgets
    ${zt5_pch_core} <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDialogButtonBox> <QGroupBox>
    <QHBoxLayout> <QLabel> <QLineEdit> <QPushButton> <QTreeWidget> <QVBoxLayout> <QWidget>)
set(zt5_pch_widget_tests ${zt5_pch_widgets} <QTemporaryDir> <QTest> <gtest/gtest.h>)

# `owner` precompiles `headers`; every other target named reuses its header.
function(zt5_share_pch owner headers)
  if(NOT TARGET ${owner})
    return()
  endif()
  target_precompile_headers(${owner} PRIVATE ${${headers}})
  foreach(target ${ARGN})
    if(TARGET ${target})
      target_precompile_headers(${target} REUSE_FROM ${owner})
    endif()
  endforeach()
endfunction()

set(zt5_bench_targets)
if(ZT5_BUILD_BENCH)
  get_property(zt5_bench_targets DIRECTORY ${PROJECT_SOURCE_DIR}/bench PROPERTY BUILDSYSTEM_TARGETS)
endif()
zt5_share_pch(zt5_base zt5_pch_core zt5_channel zt5_meter zt5_reports zt5_nodes zt5_config zt5_protocol
              zt5_archives zt5_app zt5sim zt5cli zt5ctl zt5-meter-sim ${zt5_bench_targets})

get_property(zt5_test_targets DIRECTORY ${PROJECT_SOURCE_DIR}/tests PROPERTY BUILDSYSTEM_TARGETS)
list(FILTER zt5_test_targets INCLUDE REGEX "^zt5_test_")
list(REMOVE_ITEM zt5_test_targets zt5_test_ui)
zt5_share_pch(zt5testsupport zt5_pch_tests zt5-sample-report ${zt5_test_targets})

zt5_share_pch(zt5ui zt5_pch_widgets zt5-configurator)
zt5_share_pch(zt5testui zt5_pch_widget_tests zt5_test_ui zt5-screenshots)
