# Installs the build tree BUILD into PREFIX and checks the installed programs, data and desktop
# integration: the menu entry opens .FPJ files with KD820, the project type claims them in any
# letter case, and the icon is installed under both its names.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path bin/KD820 bin/PanSim bin/ND620Transfer bin/ND620Loader bin/KD820Loader bin/panel-emulator
             share/kd820/version.txt share/kd820/lib/hardware share/kd820/lib/loader/usb-ids
             lib/udev/rules.d/60-kd820-loader.rules
             share/kd820/lib/locale/en/LC_MESSAGES/kd820.mo
             share/applications/KD820.desktop share/mime/packages/kd820-project.xml
             share/icons/hicolor/scalable/apps/kd820.svg share/icons/hicolor/64x64/apps/kd820.png
             share/icons/hicolor/scalable/mimetypes/application-x-kd820-project.svg)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
if(NOT IS_SYMLINK ${PREFIX}/bin/KD820Loader)
  message(FATAL_ERROR "bin/KD820Loader is not a symbolic link to ND620Loader")
endif()
file(READ ${PREFIX}/share/applications/KD820.desktop desktop)
foreach(line "Exec=KD820 %f" "Icon=kd820" "MimeType=application/x-kd820-project;")
  string(FIND "${desktop}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "KD820.desktop lacks ${line}")
  endif()
endforeach()
# The shared MIME database takes the project type (when its tool is installed).
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND ${UPDATE_MIME} ${PREFIX}/share/mime RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT result EQUAL 0 OR NOT EXISTS ${PREFIX}/share/mime/application/x-kd820-project.xml)
    message(FATAL_ERROR "update-mime-database refused the project type: ${errors}")
  endif()
  file(READ ${PREFIX}/share/mime/globs2 globs)
  string(FIND "${globs}" "application/x-kd820-project:*.fpj" at)
  if(at LESS 0)
    message(FATAL_ERROR "the project type has no *.fpj glob")
  endif()
endif()
message(STATUS "installed and checked in ${PREFIX}")
