#include "framework/resources/JpegCommon.h"

#include "framework/app/StringUtil.h"

namespace ImageLib {

namespace {

void OutputMessage(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    Zelk::DebugPrint("libjpeg: %s\n", text);
}

void ErrorExit(j_common_ptr cinfo)
{
    (*cinfo->err->output_message)(cinfo);
    longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

} // namespace

jpeg_error_mgr* SetUpJpegErrors(JpegErrors* errors)
{
    jpeg_error_mgr* mgr = jpeg_std_error(&errors->pub);
    mgr->error_exit = ErrorExit;
    mgr->output_message = OutputMessage;
    return mgr;
}

} // namespace ImageLib
