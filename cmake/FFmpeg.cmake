# FFmpeg's libraries as the targets FFmpeg::avformat, FFmpeg::avcodec,
# FFmpeg::swscale, FFmpeg::swresample and FFmpeg::avutil.
#   Windows: the static libraries scripts/build-ffmpeg.sh compiles from
#            Debian's source package into its cache outside the build tree
#            (built on the first configure, reused afterwards).
#   native:  Debian's libav*-dev packages through pkg-config.
set(ORVES_FFMPEG_LIBRARIES avformat avcodec swscale swresample avutil)

if(WIN32)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scripts/build-ffmpeg.sh)
  execute_process(
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/build-ffmpeg.sh
    OUTPUT_VARIABLE ffmpeg_out
    RESULT_VARIABLE ffmpeg_rc
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT ffmpeg_rc EQUAL 0)
    message(FATAL_ERROR "scripts/build-ffmpeg.sh failed (${ffmpeg_rc})")
  endif()
  string(REGEX REPLACE "^.*\n" "" ORVES_FFMPEG_PREFIX "${ffmpeg_out}")
  message(STATUS "FFmpeg for Windows: ${ORVES_FFMPEG_PREFIX}")

  foreach(lib ${ORVES_FFMPEG_LIBRARIES})
    add_library(FFmpeg::${lib} STATIC IMPORTED GLOBAL)
    set_target_properties(FFmpeg::${lib} PROPERTIES
      IMPORTED_LOCATION ${ORVES_FFMPEG_PREFIX}/lib/lib${lib}.a
      INTERFACE_INCLUDE_DIRECTORIES ${ORVES_FFMPEG_PREFIX}/include)
  endforeach()
  # Link order and system libraries from the static pkg-config data FFmpeg
  # installs: "-lavcodec -lswresample -lavutil -lz -lbcrypt ...".
  foreach(lib ${ORVES_FFMPEG_LIBRARIES})
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_LIBDIR=${ORVES_FFMPEG_PREFIX}/lib/pkgconfig
              pkg-config --static --libs lib${lib}
      OUTPUT_VARIABLE flags RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "pkg-config found no lib${lib} in ${ORVES_FFMPEG_PREFIX}")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(deps)
    foreach(flag ${flags})
      if(flag MATCHES "^-l(.+)$")
        set(name ${CMAKE_MATCH_1})
        if(name STREQUAL lib)
          continue()
        elseif(name IN_LIST ORVES_FFMPEG_LIBRARIES)
          list(APPEND deps FFmpeg::${name})
        else()
          list(APPEND deps ${name})
        endif()
      endif()
    endforeach()
    set_property(TARGET FFmpeg::${lib} PROPERTY INTERFACE_LINK_LIBRARIES ${deps})
  endforeach()
else()
  find_package(PkgConfig REQUIRED)
  foreach(lib ${ORVES_FFMPEG_LIBRARIES})
    pkg_check_modules(ORVES_FFMPEG_${lib} REQUIRED IMPORTED_TARGET lib${lib})
    add_library(FFmpeg::${lib} INTERFACE IMPORTED GLOBAL)
    set_property(TARGET FFmpeg::${lib} PROPERTY INTERFACE_LINK_LIBRARIES PkgConfig::ORVES_FFMPEG_${lib})
  endforeach()
endif()
