#include "ui/HelpTopics.h"

#include <array>

namespace tessan::ui {

namespace {

const std::array<HelpTopic, kHelpTopics> kTopics{{
    {"Help - Introduction",
     {"Tessan measures the radial velocities of stars from FITS files of high-resolution spectra.  It works "
      "much like the cross-correlation function, but it is more sensitive and its velocities are more accurate.",
      "The method is that of the broadening function: the spectrum of a program star is taken to be the "
      "spectrum of a standard star, a sharp-lined star observed with the same spectrograph, convolved with a "
      "function that carries the velocities of the star's components and the shapes of their lines.  Finding "
      "that function is a linear deconvolution, solved by least squares through a singular value "
      "decomposition; the method and its uses are described in the published literature on stellar spectroscopy.",
      "The broadening function is preferred because it is a true linear deconvolution: its baseline lies at "
      "zero, and the profiles of two or three stars simply add.  The cross-correlation function is a "
      "non-linear stand-in for it: close peaks pull or push one another, which shifts the velocities measured "
      "from them, and its baseline is distorted.",
      "For the standard star: read its FITS file (step 1), resample it onto a scale of velocity (step 2), build "
      "the design matrix for a chosen span (step 3) and decompose it by singular value decomposition (step 4).  "
      "The decomposition is slow, but it can be saved as a model and loaded again in a later run instead of "
      "repeating steps 1 to 4.",
      "For each program star: read its FITS file (step 5), compute its broadening functions (step 7), examine "
      "each of them in the plot window and measure the velocity of each peak.  The cross-correlation function "
      "(step 6) can be computed for comparison."}},
    {"Help - 1. Fits file, Standard",
     {"The standard star's file must be a one-dimensional FITS spectrum whose data are 16-bit integers "
      "(signed or unsigned), 32-bit integers, 32-bit reals or 64-bit reals.  Once it is loaded, View hdr "
      "lists its header, View data its pixels, and Plot data draws it.",
      "The wavelength of the first pixel (Lambda 0) and the step in wavelength per pixel (dLambda/dPix) are "
      "read from two header keywords, CRVAL1 and CD1_1 unless others were chosen.  If your files use other "
      "keywords, choose them under Set Keywords; the choice is kept from one run to the next."}},
    {"Help - 2. Resample",
     {"Resampling interpolates the standard spectrum from a scale linear in wavelength onto one linear in "
      "velocity, that is logarithmic in wavelength.  The minimum and maximum wavelengths are preset just inside "
      "the ends of the standard spectrum; they must lie within the range of the standard and of every program "
      "star to be measured, and making sure of that is up to you.  Delta V, the step of the new scale in km/s, "
      "is preset to the step of one pixel in velocity at the red end of the spectrum and may be changed."}},
    {"Help - 3. Design Matrix",
     {"The design matrix holds the resampled standard spectrum staggered down its columns, one pixel further "
      "in each column.  Choose its span, an odd integer (typically 201): as small as possible, since the time "
      "of the next step grows quickly with it, but wide enough to cover the broadening-function profile and "
      "some baseline on both sides of it."}},
    {"Help - 4. Singular Value Decomposition",
     {"The singular value decomposition writes the design matrix as D = U.W.Vt, where D and U have n rows and "
      "m columns (n = number of pixels - span + 1, m = span), W is the diagonal matrix of the m singular values "
      "and Vt is m by m.",
      "Plot SVD result shows the singular values.  They fall from the values carried by the physical signal, "
      "through those of the physical noise, to numerical noise; from that plot choose the order n to use for "
      "the program spectra.",
      "The calculation takes long for a large span.  Its result can be saved with Save Model and loaded again "
      "with Load Model, so it is needed only once for each standard star and resampling.",
      "The resampling range of step 2 must lie within the wavelength range of each program star measured with "
      "this model."}},
    {"Help - 5. Fits File, Program",
     {"Each program file must be a fully reduced one-dimensional FITS spectrum with its baseline normalised, "
      "with data of one of the types listed in topic 1.  Its wavelengths are read with the same keywords as "
      "the standard's.",
      "Once it is loaded, View hdr lists its header, View data its pixels, and Plot data draws it."}},
    {"Help - 6. Find Broadening Function",
     {"The broadening functions of the program star are found by matrix multiplication, for every order at "
      "once, so this step is quick.",
      "Plot BFs starts at the order typed in the main window.  The order can be changed there, or in the plot "
      "window by typing it and pressing Update, or with the slider.",
      "Too small an order shows broad functions that carry no real information, and too large an order lets "
      "the noise in.  The useful orders lie between; trying several shows where.",
      "The readout under the plot follows the cursor.  A click with the left or the right mouse button near a "
      "peak measures its centroid and shows its velocity in the box labelled Peak.L or Peak.R."}},
}};

}  // namespace

const HelpTopic& HelpTopicText(int topic) { return kTopics.at(static_cast<std::size_t>(topic)); }

}  // namespace tessan::ui
