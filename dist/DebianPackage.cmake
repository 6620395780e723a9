# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: a .deb of the whole install under /usr, depending on the
# Debian packages of the libraries the programs link, at least at the
# versions this build was made with.

find_program(DPKG_QUERY dpkg-query)
if(NOT DPKG_QUERY)
  message(STATUS "No dpkg-query: no Debian package")
  return()
endif()

# "6.4.2+dfsg-10" was built from 6.4.2; a later Debian revision or a
# security update of it serves as well.
function(vkt_debian_dependency out package)
  execute_process(COMMAND ${DPKG_QUERY} --show --showformat=\${Version} ${package}
    OUTPUT_VARIABLE version RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    message(FATAL_ERROR "The Debian package ${package} is not installed")
  endif()
  string(REGEX MATCH "^([0-9]+:)?[^-+~]+" upstream "${version}")
  set(${out} "${package} (>= ${upstream})" PARENT_SCOPE)
endfunction()

# Qt's and SQLite's package names carry their ABI and change between Debian
# releases, so they are asked of the files the programs link.
find_package(SQLite3 REQUIRED)
set(libraries "")
foreach(target Qt6::Core Qt6::Gui Qt6::Widgets Qt6::SerialPort Qt6::PrintSupport SQLite::SQLite3)
  get_target_property(location ${target} LOCATION)
  file(REAL_PATH ${location} location)
  list(APPEND libraries ${location})
endforeach()
set(depends "")
foreach(library IN LISTS libraries)
  execute_process(COMMAND ${DPKG_QUERY} --search ${library}
    OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
  string(REGEX MATCH "^[^:, ]+" package "${owner}")
  if(failed OR NOT package)
    message(FATAL_ERROR "No Debian package holds ${library}")
  endif()
  vkt_debian_dependency(dependency ${package})
  list(APPEND depends "${dependency}")
endforeach()
foreach(package libstdc++6 libgcc-s1 libc6)
  vkt_debian_dependency(dependency ${package})
  list(APPEND depends "${dependency}")
endforeach()
list(REMOVE_DUPLICATES depends)
list(JOIN depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vkt-editor)
set(CPACK_PACKAGE_VENDOR "The VKT Editor developers")
set(CPACK_PACKAGE_CONTACT "${VKT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming and alignment tool for VKT series hand-held radios")
set(CPACK_PACKAGE_DESCRIPTION
  "VKT Editor reads a VKT series VHF hand-held radio's memory through a serial
programming cable, edits its groups, channels and unit-wide settings, writes
them back, keeps setups in files, prints setup reports and aligns the radio.
The vkt command programs radio after radio and checks radios against their
setup files; vkt-radio-sim emulates a radio for trying it all without one.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Plain strip keeps the compiler's .comment and .note sections, which Debian's
# own packages drop.
set(CPACK_VKT_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/DropUnneededSections.cmake)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/debian/postinst ${CMAKE_CURRENT_SOURCE_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# The package, unpacked into a temporary root, works as an installed copy.
add_test(NAME package_installs_and_runs
  COMMAND ${CMAKE_SOURCE_DIR}/tests/dist/check-package ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${VKT_DESKTOP_ID})
set_tests_properties(package_installs_and_runs PROPERTIES TIMEOUT 300)
