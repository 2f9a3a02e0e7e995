# The desktop program: its windows, start-up and platform pieces in a library
# that the tests drive offscreen, and the `kalvara` executable around it.

add_library(kalvara_app STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DesktopApp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DesktopCommandLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpViewer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PdfReaderProbe.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PreferencesDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrintRangeDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp
)
set_target_properties(kalvara_app PROPERTIES AUTOMOC ON)
target_include_directories(kalvara_app PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kalvara_app
    PUBLIC kalvara_settings kalvara_engine kalvara_render kalvara_gui kalvara_msgbox
           kalvara_about kalvara_update Qt6::Widgets Qt6::Network
    PRIVATE kalvara_warnings)

add_executable(kalvara ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(kalvara PRIVATE kalvara_app kalvara_warnings)
install(TARGETS kalvara RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
