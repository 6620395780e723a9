# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the staged install: the libraries the programs load, so
# that the installed copy runs on a machine without Qt or MinGW.
set(bin ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin)
if(NOT CPACK_VKT_WINDEPLOYQT)
  message(FATAL_ERROR "No windeployqt: Qt's tools are needed for the installer")
endif()
execute_process(COMMAND ${CPACK_VKT_WINDEPLOYQT} --no-translations --dir ${bin} ${bin}/vkt-editor.exe ${bin}/vkt.exe
  COMMAND_ERROR_IS_FATAL ANY)
# windeployqt takes the platform windows are shown on; vkt draws its PDF
# reports on the offscreen one.
file(COPY ${CPACK_VKT_QT_PLUGINS}/platforms/qoffscreen.dll DESTINATION ${bin}/platforms)
# SQLite's and the compiler's runtime, from beside the compiler.
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${bin}/vkt-editor.exe ${bin}/vkt.exe
  RESOLVED_DEPENDENCIES_VAR libraries
  PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
  POST_INCLUDE_REGEXES "^${CPACK_VKT_RUNTIME_DIR}"
  POST_EXCLUDE_REGEXES ".*"
  DIRECTORIES ${CPACK_VKT_RUNTIME_DIR})
file(COPY ${libraries} DESTINATION ${bin})
