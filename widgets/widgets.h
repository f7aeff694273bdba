#pragma once
// Reusable widgets of Lumaro; each has a header of its own in this folder.
