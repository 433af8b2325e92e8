# Toolchain of the windows preset: the whole program, its tools and its tests
# for 64-bit Windows, built with Debian's MinGW-w64 against Qt 6.4.2 for
# Windows, the tests run through Wine (scripts/wine-run).
#
# Qt for Windows is taken from the first of:
#   1. CHOICETASK_QT_WINDOWS (a CMake or environment variable) naming a Qt
#      folder (with lib/cmake/Qt6) or a folder holding the archive
#      qt6.4.2-mingw-w64-x86_64.tar.xz;
#   2. shared/qt-windows/ in a folder above the source tree (the archive);
#   3. qt-windows/qt/ in the source tree, where scripts/build-qt-windows
#      builds it from Debian's source package.
# An archive is unpacked once into the build folder.
# Host tools (moc, rcc, uic, lrelease) are Debian's own Qt 6.

cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH _ct_source_dir)
set(_ct_qt_archive qt6.4.2-mingw-w64-x86_64.tar.xz)

get_property(_ct_in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CHOICETASK_QT_WINDOWS_PREFIX)

# A Qt folder, or the archive in `folder` unpacked into the build folder.
function(_ct_qt_in folder out)
  set(${out} "" PARENT_SCOPE)
  if(EXISTS ${folder}/lib/cmake/Qt6/qt.toolchain.cmake)
    set(${out} ${folder} PARENT_SCOPE)
  elseif(EXISTS ${folder}/${_ct_qt_archive})
    set(unpacked ${CMAKE_BINARY_DIR}/qt-windows)
    set(stamp ${unpacked}/unpacked-from)
    file(SHA256 ${folder}/${_ct_qt_archive} hash)
    set(origin "${folder}/${_ct_qt_archive} ${hash}")
    if(EXISTS ${stamp})
      file(READ ${stamp} previous)
    endif()
    if(NOT previous STREQUAL origin)
      message(STATUS "Unpacking ${folder}/${_ct_qt_archive}")
      file(REMOVE_RECURSE ${unpacked})
      file(ARCHIVE_EXTRACT INPUT ${folder}/${_ct_qt_archive} DESTINATION ${unpacked})
      file(WRITE ${stamp} ${origin})
    endif()
    set(${out} ${unpacked}/qt PARENT_SCOPE)
  endif()
endfunction()

if(NOT _ct_in_try_compile AND NOT CHOICETASK_QT_WINDOWS_PREFIX)
  set(_ct_candidates)
  if(CHOICETASK_QT_WINDOWS)
    list(APPEND _ct_candidates ${CHOICETASK_QT_WINDOWS})
  elseif(DEFINED ENV{CHOICETASK_QT_WINDOWS})
    list(APPEND _ct_candidates $ENV{CHOICETASK_QT_WINDOWS})
  else()
    set(_ct_dir ${_ct_source_dir})
    while(TRUE)
      cmake_path(GET _ct_dir PARENT_PATH _ct_parent)
      if(_ct_parent STREQUAL _ct_dir)
        break()
      endif()
      set(_ct_dir ${_ct_parent})
      if(EXISTS ${_ct_dir}/shared/qt-windows)
        list(APPEND _ct_candidates ${_ct_dir}/shared/qt-windows)
        break()
      endif()
    endwhile()
    list(APPEND _ct_candidates ${_ct_source_dir}/qt-windows/qt)
  endif()
  foreach(_ct_candidate IN LISTS _ct_candidates)
    _ct_qt_in(${_ct_candidate} _ct_prefix)
    if(_ct_prefix)
      break()
    endif()
  endforeach()
  if(NOT _ct_prefix)
    list(JOIN _ct_candidates "\n  " _ct_looked)
    message(FATAL_ERROR "No Qt for Windows found. Looked in:\n  ${_ct_looked}\n"
                        "Name one with -DCHOICETASK_QT_WINDOWS=FOLDER, or build it from Debian's source "
                        "package (about an hour) with scripts/build-qt-windows.")
  endif()
  set(CHOICETASK_QT_WINDOWS_PREFIX ${_ct_prefix} CACHE PATH "Qt for Windows used by this build" FORCE)
endif()

set(QT_CHAINLOAD_TOOLCHAIN_FILE ${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(QT_HOST_PATH /usr CACHE PATH "Host Qt (moc, rcc, uic, lrelease)")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Host Qt's CMake packages")
include(${CHOICETASK_QT_WINDOWS_PREFIX}/lib/cmake/Qt6/qt.toolchain.cmake)

# Windows programs built here (the tests, the picture drawer) run under Wine,
# with Qt's and MinGW's DLLs found through WINEPATH and one Wine prefix per
# build folder.
if(NOT _ct_in_try_compile)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                  OUTPUT_VARIABLE _ct_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                  OUTPUT_VARIABLE _ct_winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(REAL_PATH ${_ct_libstdcxx} _ct_libstdcxx)
  file(REAL_PATH ${_ct_winpthread} _ct_winpthread)
  cmake_path(GET _ct_libstdcxx PARENT_PATH _ct_gcc_dlls)
  cmake_path(GET _ct_winpthread PARENT_PATH _ct_mingw_dlls)
  set(CHOICETASK_WINDOWS_RUNTIME_DLLS ${_ct_libstdcxx} ${_ct_gcc_dlls}/libgcc_s_seh-1.dll ${_ct_winpthread}
      CACHE INTERNAL "The MinGW runtime DLLs a program built here needs")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${_ct_source_dir}/scripts/wine-run --headless --prefix ${CMAKE_BINARY_DIR}/wine
      --dlls ${CHOICETASK_QT_WINDOWS_PREFIX}/bin --dlls ${_ct_gcc_dlls} --dlls ${_ct_mingw_dlls})
endif()
