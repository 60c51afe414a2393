# OpenCV's core, imgproc and dnn (which runs the hole model) from the Debian
# packages libopencv-core-dev, libopencv-imgproc-dev and libopencv-dnn-dev. They ship neither OpenCV's CMake package file nor a
# pkg-config file, so the header folder and the libraries are found by
# name. Defines the imported target PeltrixOpenCV::OpenCV.
find_path(PeltrixOpenCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4)
find_library(PeltrixOpenCV_CORE_LIBRARY opencv_core)
find_library(PeltrixOpenCV_IMGPROC_LIBRARY opencv_imgproc)
find_library(PeltrixOpenCV_DNN_LIBRARY opencv_dnn)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(PeltrixOpenCV
  REQUIRED_VARS PeltrixOpenCV_INCLUDE_DIR PeltrixOpenCV_CORE_LIBRARY PeltrixOpenCV_IMGPROC_LIBRARY
  PeltrixOpenCV_DNN_LIBRARY)

if(PeltrixOpenCV_FOUND AND NOT TARGET PeltrixOpenCV::OpenCV)
  add_library(PeltrixOpenCV::OpenCV INTERFACE IMPORTED GLOBAL)
  set_target_properties(PeltrixOpenCV::OpenCV PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${PeltrixOpenCV_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${PeltrixOpenCV_DNN_LIBRARY};${PeltrixOpenCV_IMGPROC_LIBRARY};${PeltrixOpenCV_CORE_LIBRARY}")
endif()
mark_as_advanced(PeltrixOpenCV_INCLUDE_DIR PeltrixOpenCV_CORE_LIBRARY PeltrixOpenCV_IMGPROC_LIBRARY
  PeltrixOpenCV_DNN_LIBRARY)
