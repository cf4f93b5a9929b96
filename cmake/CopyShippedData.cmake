# Copies each shipped settings file into TARGET_DIR unless one is there already.
foreach(name prefs.plx rmdat.plx)
    if(NOT EXISTS "${TARGET_DIR}/${name}")
        file(COPY "${SOURCE_DIR}/${name}" DESTINATION "${TARGET_DIR}")
    endif()
endforeach()
